#include "model/hit_test.h"

#include <vector>

namespace planimo {

namespace {

bool Holds(const TextRecord& l, float x, float y) {
  return l.Visible && x >= l.Left && x < l.Left + l.Width && y >= l.Top && y < l.Top + l.Height;
}

// Index of the top-most label of one collection under the point, or -1;
// `first` skips a template at the bottom.
int TopMost(const std::vector<TextRecord>& labels, float x, float y, int first) {
  for (int i = static_cast<int>(labels.size()) - 1; i >= first; --i) {
    if (Holds(labels[static_cast<std::size_t>(i)], x, y)) return i;
  }
  return -1;
}

}  // namespace

std::vector<TextRecord>* LabelsOfKind(Collections& o, std::string_view kind) {
  if (kind == kKindKyori) return &o.lblKyori;
  if (kind == kKindMensekiS) return &o.lblMensekiS;
  if (kind == kKindKeiroS) return &o.lblKeiroS;
  if (kind == kKindMoji) return &o.lblMoji;
  if (kind == kKindKeiIdoS) return &o.lblKeiIdoS;
  return nullptr;
}

const std::vector<TextRecord>* LabelsOfKind(const Collections& o, std::string_view kind) {
  return LabelsOfKind(const_cast<Collections&>(o), kind);
}

LabelHit HitLabel(const Collections& o, float x, float y, const LabelHitFilter& filter) {
  struct Layer {
    bool on;
    const std::vector<TextRecord>& labels;
    const char* kind;
    int first;
  };
  // From the top of the stack down.
  const Layer layers[] = {
      {filter.keiIdoS, o.lblKeiIdoS, kKindKeiIdoS, 0},
      {filter.moji, o.lblMoji, kKindMoji, 1},
      {filter.keiroS, o.lblKeiroS, kKindKeiroS, 0},
      {filter.mensekiS, o.lblMensekiS, kKindMensekiS, 0},
      {filter.kyori, o.lblKyori, kKindKyori, 0},
  };
  for (const Layer& layer : layers) {
    if (!layer.on) continue;
    if (const int i = TopMost(layer.labels, x, y, layer.first); i >= 0) return {layer.kind, i};
  }
  return {};
}

}  // namespace planimo
