#pragma once

// dlgInput: the modal one-line input dialog. The caller fills title, prompt,
// unit caption and initial text, shows it modally and reads the answer.

#include <QDialog>
#include <QLineEdit>
#include <QString>

class QLabel;
class QPushButton;

namespace planimo {

struct InputRequest {
  QString title;
  QString prompt;
  QString unit;     // caption right of the field; may be empty
  QString initial;  // text the field starts with
};

// What the window keeps after the dialog closed (propLetDlgNum,
// propLetDlgText, propLetDlgCancel).
struct InputAnswer {
  QString propLetDlgNum;   // the text when it reads as a number, else empty
  QString propLetDlgText;  // the text as entered (empty after a cancel)
  bool propLetDlgCancel = true;
};

// The answer for a result string: numeric test with surrounding blanks, a
// sign, "," grouping, a decimal point and an exponent allowed.
InputAnswer AnswerFrom(const QString& result, bool cancelled);

// The field: selects its first 99 characters on focus and turns Enter into
// a move to the OK button, so a second Enter presses it.
class InputLineEdit : public QLineEdit {
  Q_OBJECT

 public:
  using QLineEdit::QLineEdit;

 signals:
  void enterPressed();

 protected:
  void focusInEvent(QFocusEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
};

class InputDialog : public QDialog {
  Q_OBJECT

 public:
  explicit InputDialog(const InputRequest& request, QWidget* parent = nullptr);

  InputAnswer answer() const { return AnswerFrom(result_, cancelled_); }

 protected:
  void showEvent(QShowEvent* event) override;
  void changeEvent(QEvent* event) override;

 public slots:
  void accept() override;
  void reject() override;  // Cancel, the close box and Esc

 private:
  QLabel* lblPrompt_;
  InputLineEdit* txtInput_;
  QLabel* lblUnit_;
  QPushButton* okButton_;
  QPushButton* cancelButton_;
  QString result_;
  bool cancelled_ = true;
};

}  // namespace planimo
