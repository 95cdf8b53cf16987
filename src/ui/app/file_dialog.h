#pragma once

// The platform's file chooser set up as the core asks for it.

#include <memory>

class QFileDialog;
class QWidget;

namespace planimo {

struct FileChooserRequest;

// Title, initial folder and name, default suffix, open or save, and the
// filters. A filter's description already shows its pattern ("Init(*.ini)",
// "(*.ini)"), so the pattern the chooser matches is not shown a second time.
std::unique_ptr<QFileDialog> NewFileDialog(QWidget* owner, const FileChooserRequest& request);

}  // namespace planimo
