#include "app/fonts.h"

#include <QFont>
#include <QStringList>

namespace planimo {

void RegisterFontSubstitutions() {
  const QStringList standIns = {QStringLiteral("IPAPGothic"), QStringLiteral("VL PGothic"),
                                QStringLiteral("Noto Sans CJK JP")};
  const QStringList known = QFont::substitutes(kUiFontFamily);
  for (const QString& family : standIns) {
    if (!known.contains(family)) QFont::insertSubstitution(kUiFontFamily, family);
  }
}

}  // namespace planimo
