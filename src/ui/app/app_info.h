#pragma once

// Who the program says it is: the window caption and the version box.

#include <QString>

namespace planimo {

// The project's version, given by the build.
inline constexpr int kVersionMajor = PLANIMO_VERSION_MAJOR;
inline constexpr int kVersionMinor = PLANIMO_VERSION_MINOR;
inline constexpr int kVersionRevision = PLANIMO_VERSION_PATCH;

// "1.6.0"
QString VersionNumber();
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
// What the command line's --version prints: "Planimo 1.6.0".
QString VersionLine();

}  // namespace planimo
