#include "view/qt_text_measurer.h"

#include "view/label_font.h"
#include "view/view_units.h"

namespace planimo {

namespace {

constexpr std::size_t kMaxCachedFonts = 64;

bool SameFont(const TextRecord& a, const TextRecord& b) {
  return a.FontSize == b.FontSize && a.FontBold == b.FontBold && a.FontItalic == b.FontItalic &&
         a.FontUnderline == b.FontUnderline && a.FontStrikethru == b.FontStrikethru && a.FontName == b.FontName;
}

TextRecord FontOnly(const TextRecord& t) {
  TextRecord f;
  f.FontName = t.FontName;
  f.FontSize = t.FontSize;
  f.FontBold = t.FontBold;
  f.FontItalic = t.FontItalic;
  f.FontUnderline = t.FontUnderline;
  f.FontStrikethru = t.FontStrikethru;
  return f;
}

}  // namespace

const QtTextMeasurer::Entry& QtTextMeasurer::EntryFor(const TextRecord& label) const {
  for (const Entry& e : fonts_) {
    if (SameFont(e.font, label)) return e;
  }
  if (fonts_.size() >= kMaxCachedFonts) fonts_.clear();
  const QFont font = LabelFont(label);
  fonts_.push_back(Entry{FontOnly(label), QFontMetricsF(font), PlainGlyphs(font)});
  return fonts_.back();
}

TextSize QtTextMeasurer::Measure(const TextRecord& label) const {
  const Entry& entry = EntryFor(label);
  const QFontMetricsF& metrics = entry.metrics;
  QSizeF px;
  if (const std::optional<qreal> width = entry.plain.Width(label.Caption)) {
    px = QSizeF(*width, metrics.height());
  } else {
    const QString caption = LabelCaption(label);
    // One line is by far the common case and needs no text layout.
    px = caption.contains(QLatin1Char('\n')) ? metrics.size(0, caption)
                                             : QSizeF(metrics.horizontalAdvance(caption), metrics.height());
  }
  return TextSize{static_cast<float>(PxToMm(px.width())), static_cast<float>(PxToMm(px.height()))};
}

}  // namespace planimo
