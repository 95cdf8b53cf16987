#pragma once

// How the desktop knows the running program: its menu entry, for the window
// list and the task bar, and its icon.

class QApplication;

namespace planimo {

// The installed menu entry's name, without ".desktop".
inline constexpr const char* kDesktopEntryId = "org.planimo.Planimo";

// Names the menu entry and sets the window icon: the icon theme's "planimo"
// when the desktop has one, else the copy built into the program.
void IdentifyToDesktop(QApplication& app);

}  // namespace planimo
