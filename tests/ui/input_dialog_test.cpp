#include "app/input_dialog.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFocusEvent>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <memory>

#include "app/main_window.h"
#include "fake_message_sink.h"

namespace planimo {
namespace {

struct InputDialogTest : ::testing::Test {
  InputDialog dlg{InputRequest{QStringLiteral("距離入力"), QStringLiteral("距離を入力してください"),
                               QStringLiteral("m "), QStringLiteral("50")}};
  InputLineEdit* field() { return dlg.findChild<InputLineEdit*>(QStringLiteral("txtInput")); }
  QPushButton* button(const char* name) { return dlg.findChild<QPushButton*>(QString::fromLatin1(name)); }
  void SetUp() override {
    dlg.show();
    ASSERT_NE(field(), nullptr);
  }
};

TEST_F(InputDialogTest, ShowsCallerTextsInTwipLayout) {
  EXPECT_EQ(dlg.objectName(), QStringLiteral("dlgInput"));
  EXPECT_EQ(dlg.windowTitle(), QStringLiteral("距離入力"));
  EXPECT_EQ(dlg.findChild<QLabel*>(QStringLiteral("lblPrompt"))->text(), QStringLiteral("距離を入力してください"));
  EXPECT_EQ(dlg.findChild<QLabel*>(QStringLiteral("lblUnit"))->text(), QStringLiteral("m "));
  EXPECT_EQ(button("CancelButton")->text(), QStringLiteral("ｷｬﾝｾﾙ"));
  EXPECT_EQ(dlg.size(), QSize(402, 80));
  EXPECT_EQ(field()->geometry(), QRect(32, 40, 65, 18));
  EXPECT_EQ(dlg.focusWidget(), field());
}

TEST_F(InputDialogTest, FirstEnterMovesToOkSecondEnterAccepts) {
  field()->setText(QStringLiteral("12.5"));
  QTest::keyClick(field(), Qt::Key_Return);
  EXPECT_TRUE(dlg.isVisible());
  EXPECT_EQ(dlg.focusWidget(), button("OKButton"));
  QTest::keyClick(button("OKButton"), Qt::Key_Return);
  EXPECT_FALSE(dlg.isVisible());
  EXPECT_EQ(dlg.result(), QDialog::Accepted);
  const InputAnswer a = dlg.answer();
  EXPECT_EQ(a.propLetDlgNum, QStringLiteral("12.5"));
  EXPECT_EQ(a.propLetDlgText, QStringLiteral("12.5"));
  EXPECT_FALSE(a.propLetDlgCancel);
}

TEST_F(InputDialogTest, FocusSelectsAtMostNinetyNineCharacters) {
  field()->setText(QString(150, QLatin1Char('7')));
  QFocusEvent in(QEvent::FocusIn, Qt::TabFocusReason);
  QApplication::sendEvent(field(), &in);
  EXPECT_EQ(field()->selectionStart(), 0);
  EXPECT_EQ(field()->selectedText().size(), 99);
  field()->setText(QStringLiteral("50"));
  QApplication::sendEvent(field(), &in);
  EXPECT_EQ(field()->selectedText(), QStringLiteral("50"));
}

TEST_F(InputDialogTest, CancelAfterEditingGivesEmptyTextAndCancelFlag) {
  QTest::keyClicks(field(), QStringLiteral("99"));
  button("CancelButton")->click();
  const InputAnswer a = dlg.answer();
  EXPECT_TRUE(a.propLetDlgCancel);
  EXPECT_TRUE(a.propLetDlgText.isEmpty());
  EXPECT_TRUE(a.propLetDlgNum.isEmpty());
}

TEST_F(InputDialogTest, CloseBoxCountsAsCancel) {
  field()->setText(QStringLiteral("7"));
  dlg.close();
  const InputAnswer a = dlg.answer();
  EXPECT_TRUE(a.propLetDlgCancel);
  EXPECT_TRUE(a.propLetDlgText.isEmpty());
}

TEST_F(InputDialogTest, OkWithEmptyFieldIsAnEmptyAnswerNotACancel) {
  field()->clear();
  button("OKButton")->click();
  const InputAnswer a = dlg.answer();
  EXPECT_FALSE(a.propLetDlgCancel);
  EXPECT_TRUE(a.propLetDlgText.isEmpty());
  EXPECT_TRUE(a.propLetDlgNum.isEmpty());
}

TEST(InputAnswer, NumericTestDecidesTheNumberOnly) {
  struct Case {
    const char* text;
    bool numeric;
  };
  const Case cases[] = {{"12.5", true}, {" -3 ", true}, {"1e3", true},  {"1,000", true},
                        {"12,5mm", false}, {"abc", false}, {"", false}, {"  ", false}};
  for (const Case& c : cases) {
    const InputAnswer a = AnswerFrom(QString::fromUtf8(c.text), false);
    EXPECT_EQ(a.propLetDlgText, QString::fromUtf8(c.text));
    EXPECT_EQ(a.propLetDlgNum, c.numeric ? QString::fromUtf8(c.text) : QString()) << c.text;
  }
}

TEST(InputDialogModal, WindowKeepsTheAnswerOfAFreshDialogEachTime) {
  MainWindow w(std::make_shared<FakeMessageSink>(), QString());
  const auto answerWith = [](const QString& text) {
    QTimer::singleShot(0, [text] {
      auto* d = qobject_cast<InputDialog*>(QApplication::activeModalWidget());
      ASSERT_NE(d, nullptr);
      auto* field = d->findChild<QLineEdit*>(QStringLiteral("txtInput"));
      EXPECT_EQ(field->text(), QStringLiteral("3"));  // never the previous answer
      field->setText(text);
      d->findChild<QPushButton*>(QStringLiteral("OKButton"))->click();
    });
  };
  const InputRequest request{QStringLiteral("Caption 初期値入力"), QStringLiteral("初期値を入力してください"),
                             QString(), QStringLiteral("3")};
  answerWith(QStringLiteral("12,5mm"));
  w.askInput(request);
  EXPECT_EQ(w.propLetDlgText(), QStringLiteral("12,5mm"));
  EXPECT_TRUE(w.propLetDlgNum().isEmpty());
  EXPECT_FALSE(w.propLetDlgCancel());
  answerWith(QStringLiteral("8"));
  w.askInput(request);
  EXPECT_EQ(w.propLetDlgNum(), QStringLiteral("8"));
}

}  // namespace
}  // namespace planimo
