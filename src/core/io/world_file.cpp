#include "io/world_file.h"

#include <array>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "geometry/tilt.h"
#include "io/atomic_write.h"
#include "io/export_plane.h"
#include "io/geo_features.h"

namespace planimo {

namespace {

constexpr double kSecondsPerDegree = 3600;

std::string Line(double v) {
  std::array<char, 32> c{};
  const auto r = std::to_chars(c.data(), c.data() + c.size(), v, std::chars_format::general, 17);
  return std::string(c.data(), r.ptr) + "\r\n";
}

std::string ReplacedExtension(const std::string& path, std::string_view ext) {
  std::filesystem::path p(path);
  p.replace_extension(ext);
  return p.string();
}

bool SameFile(const std::string& a, const std::string& b) {
  std::error_code ec;
  if (std::filesystem::equivalent(a, b, ec)) return true;
  return std::filesystem::weakly_canonical(a, ec) == std::filesystem::weakly_canonical(b, ec) &&
         !ec;
}

std::optional<std::string> ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) return std::nullopt;
  return bytes;
}

}  // namespace

std::optional<WorldTransform> LonLatWorldTransform(const ProjectState& s, double mmPerPixel) {
  if (!HasLonLatCalibration(s)) return std::nullopt;
  // Straightening rotates about the tilt centre; longitude and latitude are
  // then linear in the straightened millimetres.
  const double angle = s.GE_dblHosei[3];
  const double cs = std::cos(angle), sn = std::sin(angle);
  const PointF centre = TiltCentre(s);
  const double kx = s.GE_tpPtoK_r_X / kSecondsPerDegree, ky = s.GE_tpPtoK_r_Y / kSecondsPerDegree;
  const auto lonLat = [&](double x, double y) {
    const double u = cs * x - sn * y + (1 - cs) * centre.x + sn * centre.y;
    const double v = sn * x + cs * y + (1 - cs) * centre.y - sn * centre.x;
    return std::array<double, 2>{u * kx + s.GE_tpPx00ToKei_Ll / kSecondsPerDegree,
                                 v * ky + s.GE_tpPx00ToKei_La / kSecondsPerDegree};
  };
  WorldTransform t;
  t.a = kx * cs * mmPerPixel;
  t.b = -kx * sn * mmPerPixel;
  t.d = ky * sn * mmPerPixel;
  t.e = ky * cs * mmPerPixel;
  const std::array<double, 2> first = lonLat(mmPerPixel / 2, mmPerPixel / 2);
  t.c = first[0];
  t.f = first[1];
  for (const double v : {t.a, t.b, t.c, t.d, t.e, t.f}) {
    if (!std::isfinite(v)) return std::nullopt;
  }
  return t;
}

std::string WorldFileText(const WorldTransform& t) {
  return Line(t.a) + Line(t.d) + Line(t.b) + Line(t.e) + Line(t.c) + Line(t.f);
}

std::string WorldFilePath(const std::string& imagePath) {
  const std::string ext = std::filesystem::path(imagePath).extension().string();
  if (ext.size() < 3) return ReplacedExtension(imagePath, ".wld");
  return ReplacedExtension(imagePath, std::string(".") + ext[1] + ext.back() + "w");
}

std::string PrjPath(const std::string& imagePath) { return ReplacedExtension(imagePath, ".prj"); }

std::string AuxXmlPath(const std::string& imagePath) { return imagePath + ".aux.xml"; }

std::string AuxXmlText() {
  return "<PAMDataset>\n  <SRS>GEOGCS[\"WGS 84\",DATUM[\"WGS_1984\",SPHEROID[\"WGS "
         "84\",6378137,298.257223563]],"
         "PRIMEM[\"Greenwich\",0],UNIT[\"degree\",0.0174532925199433],AUTHORITY[\"EPSG\",\"4326\"]]"
         "</SRS>\n"
         "</PAMDataset>\n";
}

std::optional<ErrorReport> WriteWorldFiles(const Document& doc, const std::string& imagePath,
                                           const std::string& target, double mmPerPixel) {
  const std::optional<WorldTransform> t = LonLatWorldTransform(doc.state, mmPerPixel);
  if (!t) return NeedsLonLatReport();
  std::vector<FileWrite> files;
  if (!SameFile(imagePath, target)) {
    std::optional<std::string> image = ReadAll(imagePath);
    if (!image) return ErrorFromErrno(errno != 0 ? errno : ENOENT, imagePath);
    files.push_back({target, std::move(*image)});
  }
  files.push_back({WorldFilePath(target), WorldFileText(*t)});
  files.push_back({PrjPath(target), std::string(kWgs84Prj)});
  std::error_code ec;
  if (!std::filesystem::exists(AuxXmlPath(target), ec))
    files.push_back({AuxXmlPath(target), AuxXmlText()});
  return WriteFilesAtomically(files, false);
}

}  // namespace planimo
