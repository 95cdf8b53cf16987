#include "measure/edit_marks.h"

#include "model/hit_test.h"
#include "model/value_tag.h"

namespace planimo {

ValueMarks SelectedValueMarks(const Document& doc) {
  const std::string& kind = doc.selected.strKind;
  const bool area = kind == kKindMensekiS;
  if (!area && kind != kKindKyori && kind != kKindKeiroS) return {};
  const std::vector<TextRecord>* labels = LabelsOfKind(doc.objects, kind);
  const int index = doc.selected.intIndex;
  if (labels == nullptr || index < 0 || index >= static_cast<int>(labels->size())) return {};
  const TextRecord& label = (*labels)[static_cast<std::size_t>(index)];
  if (!label.Visible) return {};
  const std::optional<ValueTag> tag = ParseValueTag(label.Tag);
  if (!tag) return {};
  ValueMarks marks;
  (area ? marks.areaUnit : marks.distanceUnit) = tag->unit;
  marks.decimals = tag->decimals;
  return marks;
}

}  // namespace planimo
