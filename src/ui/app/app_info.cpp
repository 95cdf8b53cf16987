#include "app/app_info.h"

namespace planimo {

QString VersionNumber() {
  return QStringLiteral("%1.%2.%3").arg(kVersionMajor).arg(kVersionMinor).arg(kVersionRevision);
}

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

QString VersionLine() { return ProductName() + QStringLiteral(" ") + VersionNumber(); }

}  // namespace planimo
