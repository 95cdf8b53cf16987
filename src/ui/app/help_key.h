#pragma once

class QAction;

namespace planimo {

// F1 opens the help from anywhere. A modal dialog (the folder settings, the
// input dialog, a message box) blocks the main window's own shortcut, so an
// application-wide filter hands the key to `helpKey` while one is open.
void KeepHelpKeyInModalDialogs(QAction* helpKey);

}  // namespace planimo
