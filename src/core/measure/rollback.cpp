#include "measure/rollback.h"

namespace planimo {

Rollback::Rollback(const Document& doc, const MeasureSession& s)
    : live_(doc.live),
      session_(s),
      state_(doc.state),
      selected_(doc.selected),
      lblKyori_(Mark(doc.objects.lblKyori)),
      lblKeiroS_(Mark(doc.objects.lblKeiroS)),
      lblMensekiS_(Mark(doc.objects.lblMensekiS)),
      lblMoji_(Mark(doc.objects.lblMoji)),
      lblKeiIdoS_(Mark(doc.objects.lblKeiIdoS)),
      lineDsSave_(Mark(doc.objects.lineDsSave)),
      lineHojoSave_(Mark(doc.objects.lineHojoSave)),
      linePS_(Mark(doc.objects.linePS)),
      lineHikidashi_(Mark(doc.objects.lineHikidashi)),
      shpSnpo_(Mark(doc.objects.shpSnpo)) {}

void Rollback::Restore(Document& doc, MeasureSession& s) const {
  doc.live = live_;
  s = session_;
  doc.state = state_;
  doc.selected = selected_;
  Collections& o = doc.objects;
  Put(o.lblKyori, lblKyori_);
  Put(o.lblKeiroS, lblKeiroS_);
  Put(o.lblMensekiS, lblMensekiS_);
  Put(o.lblMoji, lblMoji_);
  Put(o.lblKeiIdoS, lblKeiIdoS_);
  Put(o.lineDsSave, lineDsSave_);
  Put(o.lineHojoSave, lineHojoSave_);
  Put(o.linePS, linePS_);
  Put(o.lineHikidashi, lineHikidashi_);
  Put(o.shpSnpo, shpSnpo_);
}

}  // namespace planimo
