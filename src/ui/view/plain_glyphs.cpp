#include "view/plain_glyphs.h"

#include <QList>
#include <QPointF>
#include <QString>
#include <QTextLayout>
#include <QTextOption>

namespace planimo {

namespace {

// The glyphs the shaper makes of `text` in `font`, as one run; an empty run
// when it needs more than one face.
QGlyphRun Shaped(const QString& text, const QFont& font) {
  QTextLayout layout(text, font);
  QTextOption option;
  option.setWrapMode(QTextOption::NoWrap);
  layout.setTextOption(option);
  layout.beginLayout();
  layout.createLine();
  layout.endLayout();
  const QList<QGlyphRun> runs = layout.glyphRuns();
  return runs.size() == 1 ? runs.front() : QGlyphRun();
}

}  // namespace

PlainGlyphs::PlainGlyphs(const QFont& font) : raw_(QRawFont::fromFont(font)) {
  static_assert(kCount <= 32, "one bit per following character");
  slot_.fill(-1);
  if (!raw_.isValid()) return;
  const QString chars = QString::fromLatin1(kCharacters.data(), qsizetype(kCount));
  for (QChar c : chars) {
    if (!raw_.supportsCharacter(c)) return;  // would come from a fallback face
  }
  const QList<quint32> indexes = raw_.glyphIndexesForString(chars);
  if (indexes.size() != chars.size()) return;
  const QList<QPointF> advances = raw_.advancesForGlyphIndexes(indexes);
  for (std::size_t i = 0; i < kCount; ++i) {
    const auto c = static_cast<unsigned char>(kCharacters[i]);
    glyphs_[c] = Glyph{indexes[qsizetype(i)], advances[qsizetype(i)].x(), true};
    slot_[c] = static_cast<std::int8_t>(i);
  }
  for (std::size_t a = 0; a < kCount; ++a) {
    for (std::size_t b = 0; b < kCount; ++b) {
      const QString pair = QString::fromLatin1(&kCharacters[a], 1) + QChar::fromLatin1(kCharacters[b]);
      const QGlyphRun run = Shaped(pair, font);
      const QList<quint32> shaped = run.glyphIndexes();
      const QList<QPointF> at = run.positions();
      const Glyph& first = glyphs_[static_cast<unsigned char>(kCharacters[a])];
      const Glyph& second = glyphs_[static_cast<unsigned char>(kCharacters[b])];
      if (shaped.size() == 2 && at.size() == 2 && shaped[0] == first.index && shaped[1] == second.index &&
          at[0].x() == 0 && at[1].x() == first.advance) {
        plainAfter_[a] |= std::uint32_t{1} << b;
      }
    }
  }
}

bool PlainGlyphs::Plain(const std::string& caption) const {
  int previous = -1;
  for (const char c : caption) {
    const auto u = static_cast<unsigned char>(c);
    const int slot = u < slot_.size() ? slot_[u] : -1;
    if (slot < 0) return false;
    if (previous >= 0 && !(plainAfter_[std::size_t(previous)] >> slot & 1u)) return false;
    previous = slot;
  }
  return true;
}

std::optional<qreal> PlainGlyphs::Width(const std::string& caption) const {
  if (!Plain(caption)) return std::nullopt;
  qreal width = 0;
  for (const char c : caption) width += glyphs_[static_cast<unsigned char>(c)].advance;
  return width;
}

QGlyphRun PlainGlyphs::Run(const std::string& caption) const {
  QGlyphRun run;
  if (caption.empty() || !Plain(caption)) return run;
  QList<quint32> indexes;
  QList<QPointF> positions;
  indexes.reserve(qsizetype(caption.size()));
  positions.reserve(qsizetype(caption.size()));
  qreal x = 0;
  for (const char c : caption) {
    const Glyph& g = glyphs_[static_cast<unsigned char>(c)];
    indexes.push_back(g.index);
    positions.push_back(QPointF(x, 0));
    x += g.advance;
  }
  run.setRawFont(raw_);
  run.setGlyphIndexes(indexes);
  run.setPositions(positions);
  return run;
}

}  // namespace planimo
