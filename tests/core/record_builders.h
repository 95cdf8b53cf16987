#pragma once

// Shown records placed by hand, every other field as a new record has it.

#include <string>

#include "model/records.h"

namespace planimo::test {

inline LineRecord ShownLine(float x1, float y1, float x2, float y2, const std::string& tag = {}) {
  LineRecord l;
  l.Visible = true;
  l.Tag = tag;
  l.X1 = x1;
  l.Y1 = y1;
  l.X2 = x2;
  l.Y2 = y2;
  return l;
}

inline TextRecord ShownLabel(const std::string& caption, float left, float top,
                             const std::string& tooltip = {}, const std::string& tag = {}) {
  TextRecord t;
  t.Visible = true;
  t.Caption = caption;
  t.ToolTipText = tooltip;
  t.Tag = tag;
  t.Left = left;
  t.Top = top;
  return t;
}

}  // namespace planimo::test
