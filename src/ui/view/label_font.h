#pragma once

// The font a label is drawn and measured with. Label sizes are points at
// 96 dots per inch whatever the screen reports, so a label covers the same
// millimetres of the map surface on every machine.

#include <QFont>
#include <QString>

#include "model/records.h"

class QPaintDevice;

namespace planimo {

// Font of `label` for drawing on `device` (nullptr: the default screen).
QFont LabelFont(const TextRecord& label, const QPaintDevice* device = nullptr);

inline QString LabelCaption(const TextRecord& label) { return QString::fromStdString(label.Caption); }

}  // namespace planimo
