#pragma once

// Qt's own dialogs and buttons (the file choosers, page set-up, a printer's
// properties, "キャンセル") speak Japanese like the rest of the program,
// whatever the system's language.

#include <QCoreApplication>
#include <QTranslator>

namespace planimo {

// Installs Qt's Japanese translation on `app` and returns it; null when the
// system has none, and Qt's dialogs then stay in English.
QTranslator* TranslateQtDialogs(QCoreApplication& app);

}  // namespace planimo
