#include "view/decoder_warnings.h"

#include <QLoggingCategory>
#include <QString>
#include <cstdio>
#include <cstring>
#include <mutex>

#include "io/image_refusal.h"

namespace planimo {

namespace {

// The category the image plug-in logs its JPEG decoder's messages under.
constexpr char kJpegCategory[] = "qt.gui.imageio.jpeg";

thread_local DecoderWarnings* tCollector = nullptr;
QtMessageHandler gPreviousHandler = nullptr;
QLoggingCategory::CategoryFilter gPreviousFilter = nullptr;

bool IsJpegCategory(const char* name) { return name != nullptr && std::strcmp(name, kJpegCategory) == 0; }

void Handle(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  if (tCollector != nullptr && IsJpegCategory(context.category)) {
    tCollector->note(message.toStdString());
    return;
  }
  if (gPreviousHandler != nullptr) {
    gPreviousHandler(type, context, message);
  } else {
    std::fprintf(stderr, "%s\n", qPrintable(message));
  }
}

// Logging rules that silence warnings must not silence these.
void KeepJpegWarnings(QLoggingCategory* category) {
  if (gPreviousFilter != nullptr) gPreviousFilter(category);
  if (IsJpegCategory(category->categoryName())) category->setEnabled(QtWarningMsg, true);
}

void InstallOnce() {
  static std::once_flag once;
  std::call_once(once, [] {
    gPreviousHandler = qInstallMessageHandler(Handle);
    gPreviousFilter = QLoggingCategory::installFilter(KeepJpegWarnings);
  });
}

}  // namespace

DecoderWarnings::DecoderWarnings() : outer_(tCollector) {
  InstallOnce();
  tCollector = this;
}

DecoderWarnings::~DecoderWarnings() { tCollector = outer_; }

void DecoderWarnings::note(const std::string& message) {
  if (damaged_ || !JpegWarningMeansDamage(message)) return;
  damaged_ = true;
  first_ = message;
}

}  // namespace planimo
