#pragma once

// Who the program says it is: the window caption and the version box.

#include <QString>

namespace planimo {

inline constexpr int kVersionMajor = 1;
inline constexpr int kVersionMinor = 6;
inline constexpr int kVersionRevision = 0;

// "距離・寸法測定　管理ソフト"
QString FileDescription();
// "Planimo"
QString ProductName();
// "距離・寸法測定　管理ソフト『Planimo』 Ver 1.6.0"
QString WindowCaption();
// The version box's title, "バージョン情報 " with its trailing blank.
QString VersionBoxTitle();
// Description, line break, "ProductName  Planimo Ver 1.6.0", line break.
QString VersionBoxText();

}  // namespace planimo
