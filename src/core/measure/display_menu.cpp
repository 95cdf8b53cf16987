#include <array>

#include "measure/tool_state.h"

namespace planimo {

namespace {

constexpr std::array<float, 5> kFixedZooms{1.25f, 1.0f, 0.75f, 0.5f, 0.25f};

}  // namespace

void ClearZoomChecks(MeasureSession& s) {
  s.menu.mnuDispZoom.fill(false);
  s.menu.mnuDispEnlarge = false;
  s.menu.mnuDispFit = false;
}

float CheckFixedZoom(MeasureSession& s, int item) {
  ClearZoomChecks(s);
  if (item < 0 || item >= static_cast<int>(kFixedZooms.size())) return 1.0f;
  s.menu.mnuDispZoom[static_cast<std::size_t>(item)] = true;
  return kFixedZooms[static_cast<std::size_t>(item)];
}

void ToggleReadoutRow(MeasureSession& s) { s.menu.mnuDispAxis = !s.menu.mnuDispAxis; }

void ToggleDefaultSample(Document& doc, MeasureSession& s) {
  const bool on = !s.menu.mnuDspDefault;
  s.menu.mnuDspDefault = on;
  doc.live.lblDefault.Visible = on;
  doc.live.linDefault.Visible = on;
}

void EnableNewDrawingCommands(MeasureSession& s) {
  s.menu.mnuFileSavePrjEnabled = false;
  s.menu.mnuFileSaveAsPrjEnabled = true;
  s.menu.mnuFileSaveCsvEnabled = true;
}

}  // namespace planimo
