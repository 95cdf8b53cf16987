#include "model/history.h"

#include <algorithm>
#include <utility>

#include "model/record_style.h"
#include "model/rescale.h"

namespace planimo {

namespace {

// Heap bytes of a string beyond what the string object holds itself.
std::size_t HeapBytes(const std::string& s) { return s.capacity() > 15 ? s.capacity() + 1 : 0; }

std::size_t Bytes(const LineRecord& r) { return sizeof r + HeapBytes(r.Tag); }
std::size_t Bytes(const ShapeRecord& r) { return sizeof r + HeapBytes(r.Tag); }
std::size_t Bytes(const TextRecord& r) {
  return sizeof r + HeapBytes(r.Caption) + HeapBytes(r.ToolTipText) + HeapBytes(r.Tag) + HeapBytes(r.FontName);
}

// What a snapshot cost beyond the blocks it shares, and what it changed.
struct Tally {
  std::size_t bytes = 0;
  bool stored = false;      // anything a project stores
  bool anything = false;
};

template <class R>
RecordBlocks<R> Share(const std::vector<R>& v, const RecordBlocks<R>& prev, Tally& t) {
  RecordBlocks<R> out;
  out.size = v.size();
  out.blocks.reserve((v.size() + kHistoryBlock - 1) / kHistoryBlock);
  for (std::size_t i = 0, b = 0; i < v.size(); i += kHistoryBlock, ++b) {
    const auto first = v.begin() + static_cast<std::ptrdiff_t>(i);
    const auto last = v.begin() + static_cast<std::ptrdiff_t>(std::min(v.size(), i + kHistoryBlock));
    if (b < prev.blocks.size() && std::equal(first, last, prev.blocks[b]->begin(), prev.blocks[b]->end())) {
      out.blocks.push_back(prev.blocks[b]);
      continue;
    }
    auto block = std::make_shared<const std::vector<R>>(first, last);
    for (const R& r : *block) t.bytes += Bytes(r);
    t.bytes += sizeof(std::vector<R>) + 2 * sizeof(void*);
    out.blocks.push_back(std::move(block));
  }
  if (out.size != prev.size || out.blocks.size() != prev.blocks.size() ||
      !std::equal(out.blocks.begin(), out.blocks.end(), prev.blocks.begin())) {
    t.stored = t.anything = true;
  }
  t.bytes += out.blocks.capacity() * sizeof(out.blocks[0]);
  return out;
}

template <class R>
std::vector<R> Join(const RecordBlocks<R>& c) {
  std::vector<R> v;
  v.reserve(c.size);
  for (const auto& b : c.blocks) v.insert(v.end(), b->begin(), b->end());
  return v;
}

// The run-time flags of the project state belong to the options dialog's
// picking, not to the drawing.
ProjectState StoredPart(ProjectState s) {
  s.booPickHosei = s.booPickDis = s.booPickTaiou = false;
  s.intOptionTab = 0;
  s.isNtPlatform = true;
  return s;
}

// The style of a default, alone on an otherwise blank record.
template <class R>
R StyleOf(const R& r) {
  R style;
  CopyStyle(r, style);
  return style;
}

// The spare that closes the leader lines is no line of the drawing: a new
// line is pulled out in it between press and release, and a click too short
// to keep leaves its points behind. A snapshot holds it as a fresh spare, so
// that neither a line half drawn nor a mere click makes a step, and an undo
// never brings a half-drawn line back.
const std::vector<LineRecord>& SettledLeaders(const std::vector<LineRecord>& leaders,
                                              std::vector<LineRecord>& scratch) {
  std::vector<LineRecord> fresh;
  AppendSpare(fresh);
  if (leaders.empty() || leaders.back() == fresh.back()) return leaders;
  scratch = leaders;
  scratch.back() = fresh.back();
  return scratch;
}

ContentSnapshot Take(const Document& doc, const ContentSnapshot& prev, Tally& t) {
  const Collections& o = doc.objects;
  ContentSnapshot s;
  std::vector<LineRecord> scratch;
  s.lblKyori = Share(o.lblKyori, prev.lblKyori, t);
  s.lblKeiroS = Share(o.lblKeiroS, prev.lblKeiroS, t);
  s.lblMensekiS = Share(o.lblMensekiS, prev.lblMensekiS, t);
  s.lblMoji = Share(o.lblMoji, prev.lblMoji, t);
  s.lblKeiIdoS = Share(o.lblKeiIdoS, prev.lblKeiIdoS, t);
  s.lineDsSave = Share(o.lineDsSave, prev.lineDsSave, t);
  s.lineHojoSave = Share(o.lineHojoSave, prev.lineHojoSave, t);
  s.linePS = Share(o.linePS, prev.linePS, t);
  s.lineHikidashi = Share(SettledLeaders(o.lineHikidashi, scratch), prev.lineHikidashi, t);
  s.shpSnpo = Share(o.shpSnpo, prev.shpSnpo, t);
  ProjectState state = StoredPart(doc.state);
  if (prev.state && *prev.state == state) {
    s.state = prev.state;
  } else {
    s.state = std::make_shared<const ProjectState>(std::move(state));
    t.bytes += sizeof(ProjectState);
    t.stored = t.anything = true;
  }
  s.numbering = doc.numbering;
  s.lineStyle = StyleOf(doc.live.linDefault);
  s.labelStyle = StyleOf(doc.live.lblDefault);
  if (!(s.numbering == prev.numbering) || !(s.lineStyle == prev.lineStyle) || !(s.labelStyle == prev.labelStyle)) {
    t.anything = true;
  }
  s.zoom = doc.view.sngZoomPrev;
  s.revision = doc.revision;
  return s;
}

// Puts the snapshot's content into `doc`, its records rescaled to the zoom
// they stand at in `doc`; false when that factor is unusable (the records
// then stay at the snapshot's zoom).
bool Restore(Document& doc, const ContentSnapshot& s) {
  Collections& o = doc.objects;
  o.lblKyori = Join(s.lblKyori);
  o.lblKeiroS = Join(s.lblKeiroS);
  o.lblMensekiS = Join(s.lblMensekiS);
  o.lblMoji = Join(s.lblMoji);
  o.lblKeiIdoS = Join(s.lblKeiIdoS);
  o.lineDsSave = Join(s.lineDsSave);
  o.lineHojoSave = Join(s.lineHojoSave);
  o.linePS = Join(s.linePS);
  o.lineHikidashi = Join(s.lineHikidashi);
  o.shpSnpo = Join(s.shpSnpo);

  ProjectState state = *s.state;
  state.booPickHosei = doc.state.booPickHosei;
  state.booPickDis = doc.state.booPickDis;
  state.booPickTaiou = doc.state.booPickTaiou;
  state.intOptionTab = doc.state.intOptionTab;
  state.isNtPlatform = doc.state.isNtPlatform;
  doc.state = std::move(state);
  const std::array<float, 4>& h = doc.state.GE_sngHosei;
  ShowTiltLine(doc, h[0], h[1], h[2], h[3]);

  doc.numbering = s.numbering;
  CopyStyle(s.lineStyle, doc.live.linDefault);
  TextRecord& label = doc.live.lblDefault;
  CopyStyle(s.labelStyle, label);
  if (doc.measurer) AutoSize(label, *doc.measurer);

  // Records of a step taken at another zoom follow the view's factor.
  doc.revision = s.revision;
  const float target = doc.view.sngZoomPrev;
  if (s.zoom == target) return true;
  const float shown = doc.view.sngZoom;
  doc.view.sngZoomPrev = s.zoom;
  doc.view.sngZoom = target;
  const bool ok = subDisp_Object(doc);
  doc.view.sngZoomPrev = target;
  doc.view.sngZoom = shown;
  return ok;
}

// The last checkpoint's content at the zoom the Document's records stand
// at now: a zoom between two checkpoints rescaled the records, not the
// drawing. Falls back to the Document itself when the factor is unusable.
ContentSnapshot AtCurrentZoom(const ContentSnapshot& s, const Document& doc) {
  Document scratch;
  scratch.measurer = doc.measurer;
  scratch.view = doc.view;
  Tally t;
  if (!Restore(scratch, s)) return Take(doc, ContentSnapshot{}, t);
  return Take(scratch, s, t);
}

template <class R>
int Growth(const RecordBlocks<R>& a, const RecordBlocks<R>& b) {
  return static_cast<int>(b.size) - static_cast<int>(a.size);
}

template <class R>
bool Same(const RecordBlocks<R>& a, const RecordBlocks<R>& b) {
  return a.size == b.size && std::equal(a.blocks.begin(), a.blocks.end(), b.blocks.begin(), b.blocks.end());
}

// A name for a change no command named (mouse gestures on the map).
std::string Describe(const ContentSnapshot& a, const ContentSnapshot& b) {
  if (Growth(a.lblMensekiS, b.lblMensekiS) > 0) return "面積の測定";
  if (Growth(a.lblKeiroS, b.lblKeiroS) > 0) return "経路の測定";
  if (Growth(a.lblKyori, b.lblKyori) > 0) return "距離の測定";
  if (Growth(a.lineHikidashi, b.lineHikidashi) > 0) return "引き出し線の作成";
  if (Growth(a.lblMoji, b.lblMoji) > 0) return "文字列の作成";
  if (Growth(a.lblKeiIdoS, b.lblKeiIdoS) > 0) return "位置情報の作成";
  if (Growth(a.lblKyori, b.lblKyori) < 0 || Growth(a.linePS, b.linePS) < 0 ||
      Growth(a.lineHikidashi, b.lineHikidashi) < 0 || Growth(a.lblMoji, b.lblMoji) < 0 ||
      Growth(a.lblKeiIdoS, b.lblKeiIdoS) < 0) {
    return "消去";
  }
  if (!Same(a.lineHikidashi, b.lineHikidashi)) return "引き出し線の移動";
  if (!Same(a.lblKyori, b.lblKyori) || !Same(a.lblKeiroS, b.lblKeiroS) || !Same(a.lblMensekiS, b.lblMensekiS) ||
      !Same(a.lblMoji, b.lblMoji) || !Same(a.lblKeiIdoS, b.lblKeiIdoS)) {
    return "ラベルの移動";
  }
  if (a.state != b.state) return "設定の変更";
  return "変更";
}

void DropRedo(History& h) {
  for (const HistoryStep& s : h.redo) h.bytes -= s.bytes;
  h.redo.clear();
}

void Trim(History& h) {
  // The newest step always stays, however large.
  while (h.bytes > h.limit && h.undo.size() > 1) {
    h.bytes -= h.undo.front().bytes;
    h.undo.pop_front();
  }
}

}  // namespace

void ResetHistory(History& h, const Document& doc) {
  h.undo.clear();
  h.redo.clear();
  h.bytes = 0;
  Tally t;
  h.baseline = Take(doc, ContentSnapshot{}, t);
}

bool Checkpoint(History& h, Document& doc, const std::string& caption) {
  const ContentSnapshot before =
      h.baseline.zoom == doc.view.sngZoomPrev ? h.baseline : AtCurrentZoom(h.baseline, doc);
  Tally t;
  ContentSnapshot after = Take(doc, before, t);
  if (!t.anything) {
    h.baseline = std::move(after);
    return false;
  }
  if (t.stored && doc.revision == before.revision) {
    MarkChanged(doc);
    after.revision = doc.revision;
  }
  DropRedo(h);
  HistoryStep step;
  step.caption = caption.empty() ? Describe(before, after) : caption;
  step.bytes = t.bytes + sizeof(HistoryStep) + step.caption.size();
  step.before = before;
  step.after = after;
  h.bytes += step.bytes;
  h.undo.push_back(std::move(step));
  h.baseline = std::move(after);
  Trim(h);
  return true;
}

bool CanUndo(const History& h) { return !h.undo.empty(); }
bool CanRedo(const History& h) { return !h.redo.empty(); }

std::string UndoMenuText(const History& h) {
  return h.undo.empty() ? "元に戻す(&U)" : "元に戻す: " + h.undo.back().caption;
}

std::string RedoMenuText(const History& h) {
  return h.redo.empty() ? "やり直し(&R)" : "やり直し: " + h.redo.back().caption;
}

bool Undo(History& h, Document& doc) {
  if (h.undo.empty()) return false;
  // Whatever changed since the last checkpoint is a step of its own first.
  Checkpoint(h, doc, std::string());
  HistoryStep step = std::move(h.undo.back());
  h.undo.pop_back();
  Restore(doc, step.before);
  Tally t;
  h.baseline = Take(doc, step.before, t);
  h.baseline.revision = doc.revision;
  h.redo.push_back(std::move(step));
  return true;
}

bool Redo(History& h, Document& doc) {
  if (h.redo.empty()) return false;
  HistoryStep step = std::move(h.redo.back());
  h.redo.pop_back();
  Restore(doc, step.after);
  Tally t;
  h.baseline = Take(doc, step.after, t);
  h.baseline.revision = doc.revision;
  h.undo.push_back(std::move(step));
  return true;
}

}  // namespace planimo
