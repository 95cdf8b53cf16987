#include "app/input_dialog.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

#include "geometry/number_format.h"

namespace planimo {

namespace {

constexpr int kSelectOnFocus = 99;

// The dialog was laid out in twips; 15 twips make one pixel at 96 dpi.
QRect Twips(int left, int top, int width, int height) {
  return QRect(left / 15, top / 15, width / 15, height / 15);
}

}  // namespace

InputAnswer AnswerFrom(const QString& result, bool cancelled) {
  InputAnswer a;
  a.propLetDlgText = result;
  a.propLetDlgCancel = cancelled;
  if (!result.trimmed().isEmpty() && ParseNumber(result.toStdString())) a.propLetDlgNum = result;
  return a;
}

void InputLineEdit::focusInEvent(QFocusEvent* event) {
  QLineEdit::focusInEvent(event);
  // Typing replaces the initial value; a very long value is only partly taken.
  setSelection(0, std::min<int>(kSelectOnFocus, static_cast<int>(text().size())));
}

void InputLineEdit::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    event->accept();  // swallowed: the dialog must not close on the first Enter
    emit enterPressed();
    return;
  }
  QLineEdit::keyPressEvent(event);
}

InputDialog::InputDialog(const InputRequest& request, QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("dlgInput"));
  setWindowTitle(request.title);
  setModal(true);
  setFixedSize(6030 / 15, 1200 / 15);

  lblPrompt_ = new QLabel(request.prompt, this);
  lblPrompt_->setObjectName(QStringLiteral("lblPrompt"));
  lblPrompt_->setGeometry(Twips(480, 120, 3855, 375));

  txtInput_ = new InputLineEdit(request.initial, this);
  txtInput_->setObjectName(QStringLiteral("txtInput"));
  txtInput_->setGeometry(Twips(480, 600, 975, 270));

  lblUnit_ = new QLabel(request.unit, this);
  lblUnit_->setObjectName(QStringLiteral("lblUnit"));
  lblUnit_->setGeometry(Twips(1560, 600, 735, 255));

  okButton_ = new QPushButton(QStringLiteral("OK"), this);
  okButton_->setObjectName(QStringLiteral("OKButton"));
  okButton_->setGeometry(Twips(4680, 120, 1215, 375));

  cancelButton_ = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), this);
  cancelButton_->setObjectName(QStringLiteral("CancelButton"));
  cancelButton_->setGeometry(Twips(4680, 600, 1215, 375));

  // Neither button is the default: Enter acts only on the button that has focus.
  okButton_->setAutoDefault(true);
  cancelButton_->setAutoDefault(true);
  okButton_->setDefault(false);

  connect(okButton_, &QPushButton::clicked, this, &InputDialog::accept);
  connect(cancelButton_, &QPushButton::clicked, this, [this] {
    result_.clear();
    reject();
  });
  connect(txtInput_, &InputLineEdit::enterPressed, this, [this] { okButton_->setFocus(Qt::OtherFocusReason); });
  setTabOrder(txtInput_, okButton_);
  setTabOrder(okButton_, cancelButton_);
}

void InputDialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  txtInput_->setFocus(Qt::ActiveWindowFocusReason);
}

void InputDialog::changeEvent(QEvent* event) {
  QDialog::changeEvent(event);
  if (event->type() == QEvent::ActivationChange && isActiveWindow()) {
    txtInput_->setFocus(Qt::ActiveWindowFocusReason);
  }
}

void InputDialog::accept() {
  result_ = txtInput_->text();
  cancelled_ = false;
  QDialog::accept();
}

void InputDialog::reject() {
  // The close box leaves the result as it was: empty, since OK was not pressed.
  cancelled_ = true;
  QDialog::reject();
}

}  // namespace planimo
