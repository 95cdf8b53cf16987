#pragma once

// The JPEG reader of the image plug-in only logs what its decoder warns
// about (a premature end of the data, corrupt data) and still hands over a
// picture, grey where the data was missing. While an instance lives on a
// thread, those warnings issued on that thread are collected here instead of
// being logged, so the reader can refuse the picture.

#include <string>

namespace planimo {

class DecoderWarnings {
 public:
  DecoderWarnings();
  ~DecoderWarnings();
  DecoderWarnings(const DecoderWarnings&) = delete;
  DecoderWarnings& operator=(const DecoderWarnings&) = delete;

  // True when a warning said the picture's data is damaged or missing.
  bool damaged() const { return damaged_; }
  // The first such warning, as the decoder wrote it.
  const std::string& firstDamage() const { return first_; }

  void note(const std::string& message);

 private:
  DecoderWarnings* outer_;
  bool damaged_ = false;
  std::string first_;
};

}  // namespace planimo
