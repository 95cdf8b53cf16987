#pragma once

// Value labels are numbers and unit abbreviations ("1234.25m ", "sq.ft. ").
// In a face that neither kerns nor joins those characters, shaping such a
// caption only puts each character's own glyph after the previous one, so
// its glyphs and width can be read from a per-font table instead of running
// the shaper for every label at every zoom step.

#include <QFont>
#include <QGlyphRun>
#include <QRawFont>
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace planimo {

class PlainGlyphs {
 public:
  // Characters the table covers: digits, signs and the letters of the unit
  // abbreviations.
  static constexpr std::string_view kCharacters = " +,-.0123456789acdfhiklmnqsty";

  // Shapes every ordered pair of the characters once in `font` and keeps the
  // pairs the shaper sets plainly, one glyph after the other at its own
  // advance; a kerned or joined pair ("y.", "fi") is not plain. A face that
  // takes any of the characters from a fallback font gets no plain pair.
  explicit PlainGlyphs(const QFont& font);

  // The caption's advance width in pixels, exactly as the shaper gives it;
  // nothing when it has a character outside the table or a pair that is
  // not plain.
  std::optional<qreal> Width(const std::string& caption) const;

  // The caption's glyphs at their pen positions from a baseline origin of 0;
  // an empty run when Width would give nothing.
  QGlyphRun Run(const std::string& caption) const;

 private:
  struct Glyph {
    quint32 index = 0;
    qreal advance = 0;
    bool known = false;
  };
  static constexpr std::size_t kCount = kCharacters.size();
  bool Plain(const std::string& caption) const;
  QRawFont raw_;
  std::array<Glyph, 128> glyphs_{};
  std::array<std::int8_t, 128> slot_{};          // place in kCharacters, -1 outside
  std::array<std::uint32_t, kCount> plainAfter_{};  // bit b: slot b may follow

};

}  // namespace planimo
