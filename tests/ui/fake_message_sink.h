#pragma once

#include <QString>
#include <vector>

#include "app/message_sink.h"

// Keeps every box instead of showing it, and answers OK.
struct ShownBox {
  bool isError = false;
  QString title;
  QString text;
};

class FakeMessageSink : public planimo::MessageSink {
 public:
  planimo::MessageButton information(const QString& title, const QString& text) override {
    boxes.push_back({false, title, text});
    return planimo::MessageButton::Ok;
  }
  planimo::MessageButton error(const QString& title, const QString& text) override {
    boxes.push_back({true, title, text});
    return planimo::MessageButton::Ok;
  }
  // Questions are kept apart and answered with `answer`.
  planimo::MessageButton question(const QString& title, const QString& text) override {
    questions.push_back({false, title, text});
    return answer;
  }
  planimo::MessageButton answer = planimo::MessageButton::No;
  std::vector<ShownBox> questions;
  std::vector<ShownBox> boxes;
};
