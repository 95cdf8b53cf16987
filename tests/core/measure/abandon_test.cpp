// Every command that interrupts the map while a measurement runs must leave
// a session in which the next click, move, click measures exactly what it
// measures in a fresh session given the same command.

#include "measure/abandon.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "measure/dispatcher.h"
#include "measure/path_measure.h"
#include "measure_fixture.h"
#include "model/rescale.h"
#include "model/zoom_steps.h"

namespace planimo::test {
namespace {

struct RunningState {
  const char* name;
  MeasureMode mode;
  bool picking;  // the options dialog's known-distance picking line
  std::function<void(MapFixture&)> play;
};

struct Interruption {
  std::string name;
  std::function<void(MapFixture&, MeasureMode)> run;
};

// What the shell does with the core for each command.
void Zoom(MapFixture& f, float factor) {
  f.doc.view.sngZoom = factor;
  ASSERT_TRUE(subDisp_Object(f.doc));
}

std::vector<Interruption> Interruptions() {
  std::vector<Interruption> all;
  for (int item = 0; item < 5; ++item) {
    all.push_back({"fixed zoom " + std::to_string(item), [item](MapFixture& f, MeasureMode) {
                     ResetDisplayMenu(f.doc, f.s);
                     Zoom(f, CheckFixedZoom(f.s, item));
                   }});
  }
  for (const char* key : {"open", "save", "print", "help"}) {
    all.push_back({std::string("toolbar ") + key,
                   [](MapFixture& f, MeasureMode) { ResetDisplayMenu(f.doc, f.s); }});
  }
  all.push_back({"toolbar magnify", [](MapFixture& f, MeasureMode) {
                   ResetDisplayMenu(f.doc, f.s);
                   Zoom(f, MagnifyStep(f.doc.view.sngZoom));
                 }});
  all.push_back({"toolbar reduce", [](MapFixture& f, MeasureMode) {
                   ResetDisplayMenu(f.doc, f.s);
                   Zoom(f, ReduceStep(f.doc.view.sngZoom));
                 }});
  all.push_back({"toolbar modosu", [](MapFixture& f, MeasureMode) {
                   ResetDisplayMenu(f.doc, f.s);
                   Zoom(f, kZoomAsLoaded);
                 }});
  all.push_back({"mode change", [](MapFixture& f, MeasureMode mode) {
                   SelectMode(f.doc, f.s, mode, nullptr);
                 }});
  all.push_back({"clear all", [](MapFixture& f, MeasureMode) { ClearMeasurementData(f.doc, f.s); }});
  all.push_back({"options dialog closed", [](MapFixture& f, MeasureMode) {
                   f.doc.state.booPickDis = false;
                   LeaveOptionsDialog(f.doc, f.s);
                 }});
  all.push_back({"new drawing", [](MapFixture& f, MeasureMode) {
                   AbandonMeasurement(f.doc, f.s);
                   ClearMeasurementData(f.doc, f.s);
                   Zoom(f, 1.0f);
                 }});
  return all;
}

std::vector<RunningState> States() {
  const auto lineLike = [](MapFixture& f) {
    f.Click(10, 12);
    f.Move(42, 30);
  };
  return {
      {"line", MeasureMode::Line, false, lineLike},
      {"circle", MeasureMode::Circle, false, lineLike},
      {"specified distance", MeasureMode::Specified, false, lineLike},
      {"path, 0 fixed", MeasureMode::Path, false, lineLike},
      {"path, 1 fixed", MeasureMode::Path, false,
       [](MapFixture& f) {
         f.Click(10, 12);
         f.Move(42, 30);
         f.Click(42, 30);
       }},
      {"path, 2 fixed", MeasureMode::Path, false,
       [](MapFixture& f) {
         f.Click(10, 12);
         f.Move(42, 30);
         f.Click(42, 30);
         f.Click(42, 30);
         f.Move(42, 70);
         f.Click(42, 70);
         f.Click(42, 70);
         f.Move(80, 75);
       }},
      {"picking line", MeasureMode::Line, true, lineLike},
  };
}

void Prepare(MapFixture& f, const RunningState& st) {
  f.s.dblFixedDistance = 30;
  SelectMode(f.doc, f.s, st.mode, nullptr);
  if (st.picking) {
    // While the options dialog asks for the known distance no tool is checked.
    f.s.menu.mnuToolMes = false;
    f.doc.state.booPickDis = true;
  }
}

template <class R>
void ExpectSameShown(const R& a, const R& b, const std::string& what) {
  EXPECT_EQ(a.Visible, b.Visible) << what;
  if (a.Visible && b.Visible) {
    EXPECT_TRUE(a == b) << what;
  }
}

template <class R>
void ExpectSameTail(const std::vector<R>& a, std::size_t fromA, const std::vector<R>& b,
                    std::size_t fromB, const std::string& what) {
  ASSERT_EQ(a.size() - fromA, b.size() - fromB) << what;
  for (std::size_t i = 0; fromA + i < a.size(); ++i) {
    ExpectSameShown(a[fromA + i], b[fromB + i], what + " record " + std::to_string(i));
  }
}

struct Sizes {
  std::size_t kyori, ds, hojo, snpo, keiro, menseki, ps;
  explicit Sizes(const Collections& o)
      : kyori(o.lblKyori.size()), ds(o.lineDsSave.size()), hojo(o.lineHojoSave.size()),
        snpo(o.shpSnpo.size()), keiro(o.lblKeiroS.size()), menseki(o.lblMensekiS.size()),
        ps(o.linePS.size()) {}
};

void ExpectSameOutcome(const MapFixture& a, const Sizes& sa, const MapFixture& b, const Sizes& sb,
                       const std::string& what) {
  const Collections& x = a.doc.objects;
  const Collections& y = b.doc.objects;
  // The spare each collection ends with is compared as part of its tail.
  ExpectSameTail(x.lblKyori, sa.kyori - 1, y.lblKyori, sb.kyori - 1, what + ": lblKyori");
  ExpectSameTail(x.lineDsSave, sa.ds - 1, y.lineDsSave, sb.ds - 1, what + ": lineDsSave");
  ExpectSameTail(x.lineHojoSave, sa.hojo - 1, y.lineHojoSave, sb.hojo - 1, what + ": lineHojoSave");
  ExpectSameTail(x.shpSnpo, sa.snpo - 1, y.shpSnpo, sb.snpo - 1, what + ": shpSnpo");
  ExpectSameTail(x.lblKeiroS, sa.keiro - 1, y.lblKeiroS, sb.keiro - 1, what + ": lblKeiroS");
  ExpectSameTail(x.lblMensekiS, sa.menseki - 1, y.lblMensekiS, sb.menseki - 1, what + ": lblMensekiS");
  ExpectSameTail(x.linePS, sa.ps - 1, y.linePS, sb.ps - 1, what + ": linePS");

  const WorkingObjects& l = a.doc.live;
  const WorkingObjects& m = b.doc.live;
  ExpectSameShown(l.lineDistance, m.lineDistance, what + ": lineDistance");
  ExpectSameShown(l.lblDistance, m.lblDistance, what + ": lblDistance");
  ExpectSameShown(l.shpCircle, m.shpCircle, what + ": shpCircle");
  ExpectSameShown(l.shpSnap, m.shpSnap, what + ": shpSnap");
  for (std::size_t i = 0; i < l.lineHojo.size(); ++i) {
    ExpectSameShown(l.lineHojo[i], m.lineHojo[i], what + ": lineHojo");
  }
  ASSERT_EQ(l.lineMenseki.size(), m.lineMenseki.size()) << what;
  for (std::size_t i = 0; i < l.lineMenseki.size(); ++i) {
    ExpectSameShown(l.lineMenseki[i], m.lineMenseki[i], what + ": lineMenseki");
  }
  ExpectSameShown(l.lblKeiro, m.lblKeiro, what + ": lblKeiro");
  ExpectSameShown(l.lblMenseki, m.lblMenseki, what + ": lblMenseki");
  EXPECT_TRUE(a.s.flags == b.s.flags) << what;
  EXPECT_EQ(a.doc.state.GE_sngHosei, b.doc.state.GE_sngHosei) << what;
  EXPECT_EQ(a.s.readout.txtPict, b.s.readout.txtPict) << what;
}

TEST(AbandonMeasurement, EveryInterruptionLeavesAFreshStart) {
  for (const RunningState& st : States()) {
    for (const Interruption& cmd : Interruptions()) {
      const std::string what = std::string(st.name) + " / " + cmd.name;
      MapFixture interrupted;
      Prepare(interrupted, st);
      st.play(interrupted);
      ASSERT_TRUE(MeasurementRunning(interrupted.s)) << what;
      cmd.run(interrupted, st.mode);
      EXPECT_FALSE(MeasurementRunning(interrupted.s)) << what;
      EXPECT_FALSE(interrupted.doc.live.lineDistance.Visible) << what;
      EXPECT_EQ(interrupted.doc.live.lineMenseki.size(), 1u) << what;

      MapFixture fresh;
      Prepare(fresh, st);
      cmd.run(fresh, st.mode);

      const Sizes before(interrupted.doc.objects);
      const Sizes freshBefore(fresh.doc.objects);
      for (MapFixture* f : {&interrupted, &fresh}) f->Measure(60, 70, 95, 40);
      ExpectSameOutcome(interrupted, before, fresh, freshBefore, what);
    }
  }
}

// A path whose working segments vanished while its flag still says started
// begins again at the click instead of reading before its first segment.
TEST(AbandonMeasurement, VertexWithoutWorkingSegmentsStartsANewPath) {
  MapFixture f;
  SelectMode(f.doc, f.s, MeasureMode::Path, nullptr);
  f.Measure(10, 10, 40, 10);
  ClearWorkingPath(f.doc.live);
  ASSERT_TRUE(f.s.flags.booPathStarted);
  f.Click(60, 70);
  const LineRecord& seg = f.doc.live.lineMenseki[0];
  EXPECT_EQ(seg.X1, 60);
  EXPECT_EQ(seg.Y1, 70);
  EXPECT_EQ(seg.X2, 60);
  EXPECT_EQ(f.doc.live.lblDistance.Caption, "0.00 m ");
}

}  // namespace
}  // namespace planimo::test
