#include "app/error_box.h"

namespace planimo {

bool ShowErrorBox(MessageSink& sink, const QString& handler, const ErrorReport& report) {
  if (!IsReported(report.number)) return false;
  const std::string text = ErrorBoxText(handler.toStdString(), report.number, report.description);
  sink.error(QString::fromUtf8(kErrorBoxTitle.data(), static_cast<qsizetype>(kErrorBoxTitle.size())),
             QString::fromStdString(text));
  return true;
}

}  // namespace planimo
