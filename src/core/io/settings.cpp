#include "io/settings.h"

#include <array>
#include <optional>

#include "geometry/number_format.h"
#include "geometry/units.h"
#include "io/ini_file.h"

namespace planimo {
namespace {

constexpr const char* kSettingsFileName = "Init.ini";
constexpr const char* kFolderSection = "フォルダPath";

std::string IndexedKey(const char* stem, int n) { return std::string(stem) + "(" + std::to_string(n) + ")"; }

void ReadCaptions(const IniDocument& doc, const char* section, const char* stem,
                  std::array<std::string, kUnitCount>& captions) {
  for (int n = 0; n < kUnitCount; ++n) captions[n] = GetValue(doc, section, IndexedKey(stem, n)) + " ";
}

void ReadCoefficients(const IniDocument& doc, const char* section, const char* stem,
                      std::array<double, kUnitCount>& table) {
  for (int n = 0; n < kUnitCount; ++n) table[n] = LeadingNumber(GetValue(doc, section, IndexedKey(stem, n)));
}

}  // namespace

std::string SettingsPath(const std::string& programFolder) {
  if (programFolder.empty()) return kSettingsFileName;
  const char last = programFolder.back();
  if (last == '/' || last == '\\') return programFolder + kSettingsFileName;
  return programFolder + "/" + kSettingsFileName;
}

void ReadSettings(const std::string& iniPath, AppSettings& out) {
  const IniDocument doc = ReadIniFile(iniPath);
  out.PRJ_FD = GetValue(doc, kFolderSection, "PRJ_FD");
  out.MAP_FD = GetValue(doc, kFolderSection, "MAP_FD");

  UnitTables& u = out.units;
  ReadCaptions(doc, "距離単位", "UnitDistance", u.UnitDistance);
  ReadCaptions(doc, "面積単位", "UnitArea", u.UnitArea);
  ReadCoefficients(doc, "距離換算係数mm", "GE_dblChgMMToO", u.GE_dblChgMMToO);
  ReadCoefficients(doc, "距離換算係数", "GE_dblChgOToMD", u.GE_dblChgOToMD);
  ReadCoefficients(doc, "距離換算係数", "GE_dblChgMToOD", u.GE_dblChgMToOD);
  ReadCoefficients(doc, "面積換算係数", "GE_dblChgOToMS", u.GE_dblChgOToMS);
  ReadCoefficients(doc, "面積換算係数", "GE_dblChgMToOS", u.GE_dblChgMToOS);
  // A missing or damaged file must not leave units without names or turn
  // every measured value into 0.
  FillMissingUnits(u);
}

bool WriteFolders(const std::string& iniPath, const AppSettings& settings) {
  if (iniPath.empty()) return false;  // no file to keep them in
  std::optional<IniDocument> doc = ReadIniFileForUpdate(iniPath);
  if (!doc) return false;
  const bool changedDrawing = PutValue(*doc, kFolderSection, "PRJ_FD", settings.PRJ_FD);
  const bool changedImage = PutValue(*doc, kFolderSection, "MAP_FD", settings.MAP_FD);
  if (!changedDrawing && !changedImage) return true;
  return WriteIniFile(iniPath, *doc);
}

}  // namespace planimo
