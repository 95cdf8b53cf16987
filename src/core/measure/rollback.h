#pragma once

// What a mouse event or measurement command may change, saved before it
// runs so that an event whose value cannot be computed leaves everything as
// it found it. Kept collections only ever fill their spare and grow at the
// end during one event, so their sizes and last elements are enough.

#include <cstddef>

#include "measure/tool_state.h"
#include "model/document.h"

namespace planimo {

class Rollback {
 public:
  Rollback(const Document& doc, const MeasureSession& s);
  void Restore(Document& doc, MeasureSession& s) const;

 private:
  template <class R>
  struct Tail {
    std::size_t size = 0;
    R last{};
  };
  template <class R>
  static Tail<R> Mark(const std::vector<R>& c) {
    return {c.size(), c.back()};
  }
  template <class R>
  static void Put(std::vector<R>& c, const Tail<R>& t) {
    c.resize(t.size);
    c.back() = t.last;
  }

  WorkingObjects live_;
  MeasureSession session_;
  ProjectState state_;
  SelectedObject selected_;
  Tail<TextRecord> lblKyori_, lblKeiroS_, lblMensekiS_, lblMoji_, lblKeiIdoS_;
  Tail<LineRecord> lineDsSave_, lineHojoSave_, linePS_, lineHikidashi_;
  Tail<ShapeRecord> shpSnpo_;
};

}  // namespace planimo
