#pragma once

// Every message box of the program goes through a sink, so the window can be
// driven by tests that read the boxes instead of answering them.

#include <QString>

class QWidget;

namespace planimo {

enum class MessageButton { Ok, Cancel, Yes, No };

class MessageSink {
 public:
  virtual ~MessageSink() = default;
  // A box with an OK button and no icon.
  virtual MessageButton information(const QString& title, const QString& text) = 0;
  // A failure report with an OK button.
  virtual MessageButton error(const QString& title, const QString& text) = 0;
  // A question with はい (Yes), いいえ (No) and キャンセル (Cancel).
  // A sink that cannot ask answers Cancel, which never loses anything.
  virtual MessageButton question(const QString& title, const QString& text) {
    (void)title;
    (void)text;
    return MessageButton::Cancel;
  }
};

// The real boxes, modal over `owner`.
class QtMessageSink : public MessageSink {
 public:
  explicit QtMessageSink(QWidget* owner) : owner_(owner) {}
  MessageButton information(const QString& title, const QString& text) override;
  MessageButton error(const QString& title, const QString& text) override;
  MessageButton question(const QString& title, const QString& text) override;

 private:
  QWidget* owner_;
};

}  // namespace planimo
