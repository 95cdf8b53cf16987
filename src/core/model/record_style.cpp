#include "model/record_style.h"

namespace planimo {

void CopyStyle(const LineRecord& from, LineRecord& to) {
  to.BorderColor = from.BorderColor;
  to.BorderStyle = from.BorderStyle;
  to.BorderWidth = from.BorderWidth;
}

void CopyStyle(const TextRecord& from, TextRecord& to) {
  to.ForeColor = from.ForeColor;
  to.BackColor = from.BackColor;
  to.BackStyle = from.BackStyle;
  to.BorderStyle = from.BorderStyle;
  to.FontName = from.FontName;
  to.FontSize = from.FontSize;
  to.FontBold = from.FontBold;
  to.FontItalic = from.FontItalic;
  to.FontStrikethru = from.FontStrikethru;
  to.FontUnderline = from.FontUnderline;
}

}  // namespace planimo
