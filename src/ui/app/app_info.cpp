#include "app/app_info.h"

namespace planimo {

namespace {

QString VersionNumber() {
  return QStringLiteral("%1.%2.%3").arg(kVersionMajor).arg(kVersionMinor).arg(kVersionRevision);
}

}  // namespace

QString FileDescription() { return QStringLiteral("距離・寸法測定　管理ソフト"); }

QString ProductName() { return QStringLiteral("Planimo"); }

QString WindowCaption() {
  return FileDescription() + QStringLiteral("『") + ProductName() + QStringLiteral("』 Ver ") +
         VersionNumber();
}

QString VersionBoxTitle() { return QStringLiteral("バージョン情報 "); }

QString VersionBoxText() {
  return FileDescription() + QStringLiteral("\nProductName  ") + ProductName() +
         QStringLiteral(" Ver ") + VersionNumber() + QStringLiteral("\n");
}

}  // namespace planimo
