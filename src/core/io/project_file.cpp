#include "io/project_file.h"

#include <array>
#include <charconv>
#include <filesystem>
#include <variant>
#include <vector>

#include "geometry/number_format.h"
#include "geometry/paths.h"
#include "io/atomic_write.h"
#include "io/object_files.h"
#include "io/regular_file.h"
#include "io/takeoff_section.h"
#include "io/value_text.h"
#include "model/rescale.h"

namespace planimo {
namespace {

namespace fs = std::filesystem;

using Field = std::variant<bool*, std::int16_t*, float*, double*>;

struct Key {
  const char* section;
  std::string name;
  Field field;
};

constexpr const char* kGeneral = "全般";
constexpr const char* kTilt = "傾き補正";
constexpr const char* kKnown = "既知距離";
constexpr const char* kGeo = "経緯度データ";
constexpr const char* kFiles = "データファイル名";

std::string Indexed(const char* stem, int n, const char* tail = "") {
  return std::string(stem) + "(" + std::to_string(n) + ")" + tail;
}

// Sections 3 to 6 of the project file, key by key in writing order.
std::vector<Key> ProjectKeys(ProjectState& s) {
  std::vector<Key> k = {
      {kGeneral, "GE_booModeDis", &s.GE_booModeDis}, {kGeneral, "GE_booModeKei", &s.GE_booModeKei},
      {kGeneral, "GE_sngHojoLen", &s.GE_sngHojoLen}, {kGeneral, "GE_booSnap", &s.GE_booSnap},
      {kGeneral, "GE_booPrtCmt", &s.GE_booPrtCmt},   {kGeneral, "GE_intUnitDIndex", &s.GE_intUnitDIndex},
      {kGeneral, "GE_sngKeisuD", &s.GE_sngKeisuD},   {kGeneral, "GE_intUnitSIndex", &s.GE_intUnitSIndex},
      {kGeneral, "GE_sngKeisuS", &s.GE_sngKeisuS},
  };
  for (int n = 0; n < 4; ++n) {
    k.push_back({kTilt, Indexed("GE_sngHosei", n), &s.GE_sngHosei[static_cast<std::size_t>(n)]});
    k.push_back({kTilt, Indexed("GE_dblHosei", n), &s.GE_dblHosei[static_cast<std::size_t>(n)]});
  }
  for (int n = 0; n < 4; ++n) {
    SinglePoint& p = s.GE_tpPiccelD[static_cast<std::size_t>(n)];
    k.push_back({kKnown, Indexed("GE_tpPiccelD", n, ".sngX"), &p.sngX});
    k.push_back({kKnown, Indexed("GE_tpPiccelD", n, ".sngY"), &p.sngY});
  }
  const std::vector<Key> known = {
      {kKnown, "GE_sngPiccelD_X", &s.GE_sngPiccelD_X},     {kKnown, "GE_sngPiccelD_Y", &s.GE_sngPiccelD_Y},
      {kKnown, "GE_sngDistanceD_X", &s.GE_sngDistanceD_X}, {kKnown, "GE_sngDistanceD_Y", &s.GE_sngDistanceD_Y},
      {kKnown, "GE_tpPtoD_r_X", &s.GE_tpPtoD_r_X},         {kKnown, "GE_tpPtoD_r_Y", &s.GE_tpPtoD_r_Y},
      {kKnown, "GE_dblAspectM", &s.GE_dblAspectM},
      {kGeo, "GE_tpPiccel_1X", &s.GE_tpPiccel_1X},         {kGeo, "GE_tpPiccel_1Y", &s.GE_tpPiccel_1Y},
      {kGeo, "GE_tpPiccel_2X", &s.GE_tpPiccel_2X},         {kGeo, "GE_tpPiccel_2Y", &s.GE_tpPiccel_2Y},
  };
  k.insert(k.end(), known.begin(), known.end());
  for (int n = 0; n < 2; ++n) {
    const std::string mid = "_" + std::to_string(n) + "_";
    DmsRecord& lon = s.GE_dblKeIdo[static_cast<std::size_t>(n)];
    DmsRecord& lat = s.GE_dblIdo[static_cast<std::size_t>(n)];
    k.push_back({kGeo, "GE_dblKeIdo" + mid + "intDeg", &lon.intDeg});
    k.push_back({kGeo, "GE_dblKeIdo" + mid + "intMin", &lon.intMin});
    k.push_back({kGeo, "GE_dblKeIdo" + mid + "sngSec", &lon.sngSec});
    k.push_back({kGeo, "GE_dblIdo" + mid + "intDeg", &lat.intDeg});
    k.push_back({kGeo, "GE_dblIdo" + mid + "intMin", &lat.intMin});
    k.push_back({kGeo, "GE_dblIdo" + mid + "sngSec", &lat.sngSec});
  }
  const std::vector<Key> derived = {
      {kGeo, "GE_dblKeido0", &s.GE_dblKeido0},           {kGeo, "GE_dblIdo0", &s.GE_dblIdo0},
      {kGeo, "GE_dblKeido1", &s.GE_dblKeido1},           {kGeo, "GE_dblIdo1", &s.GE_dblIdo1},
      {kGeo, "GE_tpPtoK_r_X", &s.GE_tpPtoK_r_X},         {kGeo, "GE_tpPtoK_r_Y", &s.GE_tpPtoK_r_Y},
      {kGeo, "GE_tpKtoP_r_X", &s.GE_tpKtoP_r_X},         {kGeo, "GE_tpKtoP_r_Y", &s.GE_tpKtoP_r_Y},
      {kGeo, "GE_tpPx00ToKei_La", &s.GE_tpPx00ToKei_La}, {kGeo, "GE_tpPx00ToKei_Ll", &s.GE_tpPx00ToKei_Ll},
      {kGeo, "GE_tpKI00ToPx_X", &s.GE_tpKI00ToPx_X},     {kGeo, "GE_tpKI00ToPx_Y", &s.GE_tpKI00ToPx_Y},
  };
  k.insert(k.end(), derived.begin(), derived.end());
  return k;
}

std::string ValueText(const Field& f) {
  struct Visitor {
    std::string operator()(bool* v) const { return BooleanText(*v); }
    std::string operator()(std::int16_t* v) const { return std::to_string(*v); }
    // At most 7 and 15 significant digits, as every reader of the layout
    // expects; a value those digits cannot hold is stored rounded to them.
    std::string operator()(float* v) const { return SingleText(*v); }
    std::string operator()(double* v) const { return DoubleText(*v); }
  };
  return std::visit(Visitor{}, f);
}

ErrorReport KeyError(int number, const Key& key) {
  return {number, ErrorDescription(number) + " [" + key.section + "] " + key.name};
}

// Drops the last four characters (not bytes) of a UTF-8 name.
std::optional<std::string> WithoutExtension(std::string_view name) {
  std::size_t end = name.size();
  for (int chars = 0; chars < 4; ++chars) {
    if (end == 0) return std::nullopt;
    --end;
    while (end > 0 && (static_cast<unsigned char>(name[end]) & 0xC0) == 0x80) --end;
  }
  return std::string(name.substr(0, end));
}

bool IsFile(const std::string& path) {
  std::error_code ec;
  return fs::is_regular_file(path, ec);
}

// What a read that ended early found wrong with the file.
ErrorReport ObjectFileDamage(ReadEnd end, const std::string& path) {
  switch (end) {
    case ReadEnd::Cut: return ErrorReport{kErrInputPastEnd, ErrorDescription(kErrInputPastEnd, path)};
    case ReadEnd::LongLine: return ErrorWithCause(kErrOutOfMemory, "1 MiB を超える行があります。", path);
    case ReadEnd::TooMany: return ErrorWithCause(kErrSubscript, "オブジェクトの数が上限を超えています。", path);
    default: return ErrorReport{kErrTypeMismatch, ErrorDescription(kErrTypeMismatch, path)};
  }
}

// Reads one object file if it exists; a damage, or a name that is no
// regular file, becomes a warning.
void ReadObjectFile(const std::string& path, ReadEnd (*read)(std::istream&, Collections&), Collections& o,
                    std::optional<ErrorReport>& warning) {
  const OpenedFile file = OpenRegularFile(path);
  if (file.missing) return;
  if (!file.stream) {
    if (!warning) warning = file.error;
    return;
  }
  const ReadEnd end = read(*file.stream, o);
  if (end == ReadEnd::Complete || warning) return;
  warning = ObjectFileDamage(end, path);
}

// The object file `name` from the project's folder, or from PRJ_FD when it
// is not there.
std::string ObjectPath(const std::string& projectFolder, const std::string& prjFolder, const std::string& name) {
  const std::string beside = JoinPath(projectFolder, name);
  if (IsFile(beside) || prjFolder.empty()) return beside;
  const std::string kept = JoinPath(prjFolder, name);
  return IsFile(kept) ? kept : beside;
}

// Why a project file that exists could not be read.
ErrorReport UnreadableProject(const std::string& path) {
  if (IsOversizedIniFile(path)) return ErrorReport{kErrOutOfMemory, ErrorDescription(kErrOutOfMemory, path)};
  return NotReadableAsFile(path);
}

// The stored page; a project without the key (or with a value no page
// number can be) shows the first page, as a reader of the older keys would.
int StoredPage(const std::string& text) {
  int page = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), page);
  return ec == std::errc() && end == text.data() + text.size() && page >= 1 ? page : 1;
}

}  // namespace

std::optional<ObjectFileNames> ObjectFileNamesFor(std::string_view projectFileName) {
  const std::optional<std::string> stem = WithoutExtension(projectFileName);
  if (!stem) return std::nullopt;
  return ObjectFileNames{*stem + "_Text.Bin", *stem + "_Line.Bin", *stem + "_Shape.Bin"};
}

void PutProjectValues(IniDocument& ini, const ProjectState& state, const ObjectFileNames& names) {
  ProjectState s = state;
  PutValue(ini, "バージョン情報", "Ver", kProgramVersion);
  PutValue(ini, "バージョン情報", "Prj", kProductName);
  PutValue(ini, kFiles, "fMei_MapImage", s.fMei_MapImage);
  // An addition of this program's: readers that know only the image name
  // pass over it.
  PutValue(ini, kFiles, "fMei_MapFolder", s.fMei_MapFolder);
  // Likewise the page of a file of several pages; page 1 writes nothing (and
  // takes away what an earlier save wrote), so a one-page drawing's project
  // is as it always was.
  if (s.fMei_MapPage != 1) {
    PutValueAfter(ini, kFiles, "fMei_MapFolder", "fMei_MapPage", std::to_string(s.fMei_MapPage));
  } else {
    RemoveValue(ini, kFiles, "fMei_MapPage");
  }
  for (const Key& k : ProjectKeys(s)) PutValue(ini, k.section, k.name, ValueText(k.field));
  PutValue(ini, kFiles, "Text_Bin", names.text);
  PutValue(ini, kFiles, "Line_Bin", names.line);
  PutValue(ini, kFiles, "Shape_Bin", names.shape);
}

std::optional<ErrorReport> GetProjectValues(const IniDocument& ini, ProjectState& s) {
  s.fMei_MapImage = GetValue(ini, kFiles, "fMei_MapImage");
  s.fMei_MapFolder = GetValue(ini, kFiles, "fMei_MapFolder");
  s.fMei_MapPage = StoredPage(GetValue(ini, kFiles, "fMei_MapPage"));
  for (const Key& k : ProjectKeys(s)) {
    const std::string text = GetValue(ini, k.section, k.name);
    if (auto* b = std::get_if<bool*>(&k.field)) {
      const std::optional<bool> v = FileBoolean(text);
      if (!v) return KeyError(kErrTypeMismatch, k);
      **b = *v;
    } else if (auto* i = std::get_if<std::int16_t*>(&k.field)) {
      const std::optional<std::int16_t> v = FileInteger(text);
      if (!v) return KeyError(kErrOverflow, k);
      **i = *v;
    } else if (auto* f = std::get_if<float*>(&k.field)) {
      const std::optional<float> v = FileSingle(text);
      if (!v) return KeyError(kErrOverflow, k);
      **f = *v;
    } else {
      *std::get<double*>(k.field) = FileDouble(text);
    }
  }
  return std::nullopt;
}

std::optional<ErrorReport> SaveProject(const Document& doc, const std::string& folder, const std::string& fileName,
                                       SaveNotes* notes) {
  const std::optional<ObjectFileNames> names = ObjectFileNamesFor(fileName);
  if (!names) return ErrorReport{kErrInvalidArgument, ErrorDescription(kErrInvalidArgument, fileName)};
  const std::string path = JoinPath(folder, fileName);
  std::optional<IniDocument> ini = ReadIniFileForUpdate(path);
  if (!ini) return UnreadableProject(path);
  PutProjectValues(*ini, doc.state, *names);
  PutTakeoffSection(*ini, doc.state, doc.objects);

  // The files hold drawing millimetres: at another zoom a copy is brought
  // to 100 %, so the drawing on screen stays exactly as it is.
  const Collections* objects = &doc.objects;
  std::optional<Document> atFull;
  if (doc.view.sngZoom != 1.0f || doc.view.sngZoomPrev != 1.0f) {
    atFull.emplace(doc);
    atFull->view.sngZoom = 1.0f;
    if (!subDisp_Object(*atFull)) {
      return ErrorReport{kErrOverflow, ErrorDescription(kErrOverflow)};
    }
    objects = &atFull->objects;
  }
  bool wroteUtf8 = false;
  const auto encoded = [&](const std::string& utf8) {
    EncodedFileText e = EncodeFileTextNoting(utf8);
    wroteUtf8 = wroteUtf8 || e.beyondCp932;
    return std::move(e.bytes);
  };
  const std::array<FileWrite, 4> files = {
      FileWrite{path, encoded(FormatIni(*ini))},
      FileWrite{JoinPath(folder, names->text), encoded(FormatTextFile(*objects))},
      FileWrite{JoinPath(folder, names->line), encoded(FormatLineFile(*objects))},
      FileWrite{JoinPath(folder, names->shape), encoded(FormatShapeFile(*objects))},
  };
  if (auto error = WriteFilesAtomically(files, true)) return error;
  if (notes != nullptr) notes->wroteUtf8 = wroteUtf8;
  return std::nullopt;
}

LoadReport LoadProject(Document& doc, const std::string& path) {
  LoadReport report;
  std::error_code ec;
  // A looping link is no missing file: its read below says what it is.
  if (fs::status(path, ec).type() == fs::file_type::not_found) {
    report.error = ErrorFromErrno(ENOENT, path);
    return report;
  }
  const std::optional<IniDocument> ini = ReadIniFileForUpdate(path);
  if (!ini) {
    report.error = UnreadableProject(path);
    return report;
  }

  Document next = doc;
  next.objects = Collections{};
  ResetProjectDefaults(next);
  if ((report.error = GetProjectValues(*ini, next.state))) return report;
  ProjectState& s = next.state;
  for (std::int16_t index : {s.GE_intUnitDIndex, s.GE_intUnitSIndex}) {
    if (index < 0 || index >= kUnitCount) {
      report.error = ErrorReport{kErrSubscript, ErrorDescription(kErrSubscript) + " [全般] " + std::to_string(index)};
      return report;
    }
  }
  // The unit captions follow the loaded units, as the options dialog shows them.
  s.strUnitD = next.settings.units.UnitDistance[static_cast<std::size_t>(s.GE_intUnitDIndex)];
  s.strUnitS = next.settings.units.UnitArea[static_cast<std::size_t>(s.GE_intUnitSIndex)];
  next.specifiedDistanceCaption = "50 " + s.strUnitD;

  const std::string folder = SplitPath(path).folder;
  const std::optional<ObjectFileNames> derived = ObjectFileNamesFor(SplitPath(path).fileName);
  const auto name = [&](const char* key, std::string ObjectFileNames::*member) {
    std::string n = GetValue(*ini, kFiles, key);
    if (n.empty() && derived) n = (*derived).*member;
    return n;
  };
  const std::string prj = next.settings.PRJ_FD;
  ReadObjectFile(ObjectPath(folder, prj, name("Text_Bin", &ObjectFileNames::text)), &ReadTextObjects,
                 next.objects, report.warning);
  ReadObjectFile(ObjectPath(folder, prj, name("Line_Bin", &ObjectFileNames::line)), &ReadLineObjects,
                 next.objects, report.warning);
  ReadObjectFile(ObjectPath(folder, prj, name("Shape_Bin", &ObjectFileNames::shape)), &ReadShapeObjects,
                 next.objects, report.warning);
  RepairDistanceLinks(next.objects);
  GetTakeoffSection(*ini, next.state, next.objects);
  // The stored sizes are another machine's fonts: every label takes its size
  // from the fonts here at once (spares and templates keep theirs), around its stored top-left corner, so that
  // the first rescale has nothing to correct and a save at 100 % writes
  // every position as it was read.
  if (next.measurer) {
    Collections& o = next.objects;
    for (auto* labels : {&o.lblKyori, &o.lblKeiroS, &o.lblMensekiS, &o.lblMoji, &o.lblKeiIdoS}) {
      for (TextRecord& l : *labels) {
        if (l.Visible) AutoSize(l, *next.measurer);
      }
    }
  }
  next.numbering.textNumber = UBound(next.objects.lblMoji);
  next.numbering.positionNumber = UBound(next.objects.lblKeiIdoS);
  doc = std::move(next);
  return report;
}

}  // namespace planimo
