#include "app/message_sink.h"

#include <QMessageBox>

namespace planimo {

namespace {

MessageButton Show(QWidget* owner, QMessageBox::Icon icon, const QString& title, const QString& text) {
  QMessageBox box(icon, title, text, QMessageBox::Ok, owner);
  return box.exec() == QMessageBox::Ok ? MessageButton::Ok : MessageButton::Cancel;
}

}  // namespace

MessageButton QtMessageSink::information(const QString& title, const QString& text) {
  return Show(owner_, QMessageBox::NoIcon, title, text);
}

MessageButton QtMessageSink::error(const QString& title, const QString& text) {
  return Show(owner_, QMessageBox::Critical, title, text);
}

}  // namespace planimo
