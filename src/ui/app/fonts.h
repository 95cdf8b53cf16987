#pragma once

// The drawings and dialogs name the Windows gothic "ＭＳ Ｐゴシック"; on other
// systems it must still render with a proportional Japanese gothic.

#include <QString>

namespace planimo {

inline const QString kUiFontFamily = QStringLiteral("ＭＳ Ｐゴシック");

// Registers the installed stand-ins, best first: IPAPGothic, VL PGothic,
// Noto Sans CJK JP. Safe to call more than once.
void RegisterFontSubstitutions();

}  // namespace planimo
