#include "app/message_sink.h"

#include <QAbstractButton>
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

MessageButton QtMessageSink::question(const QString& title, const QString& text) {
  QMessageBox box(QMessageBox::Question, title, text, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
                  owner_);
  box.button(QMessageBox::Yes)->setText(QStringLiteral("はい"));
  box.button(QMessageBox::No)->setText(QStringLiteral("いいえ"));
  box.button(QMessageBox::Cancel)->setText(QStringLiteral("キャンセル"));
  box.setDefaultButton(QMessageBox::Yes);
  switch (box.exec()) {
    case QMessageBox::Yes: return MessageButton::Yes;
    case QMessageBox::No: return MessageButton::No;
    default: return MessageButton::Cancel;
  }
}

}  // namespace planimo
