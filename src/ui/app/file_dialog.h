#pragma once

// The platform's file chooser set up as the core asks for it.

#include <QString>
#include <memory>

class QFileDialog;
class QWidget;

namespace planimo {

struct FileChooserRequest;

// Title, initial folder and name, default suffix, open or save, and the
// filters. A filter's description already shows its pattern ("Init(*.ini)",
// "(*.ini)"), so the pattern the chooser matches is not shown a second time.
// A name typed without a suffix gets the chosen filter's. `untouched` is a
// file the command only reads or writes beside (the drawing's image a world
// file goes with): choosing it asks nothing about replacing it.
std::unique_ptr<QFileDialog> NewFileDialog(QWidget* owner, const FileChooserRequest& request,
                                          const QString& untouched = QString());

}  // namespace planimo
