#include "io/recent_drawings.h"

#include <algorithm>
#include <filesystem>
#include <fstream>

namespace planimo {

std::string RecentDrawingsPath(const std::string& configFolder) {
  return (std::filesystem::path(configFolder) / "recent_drawings.txt").string();
}

RecentDrawings ReadRecentDrawings(const std::string& file) {
  RecentDrawings list;
  std::ifstream in(file, std::ios::binary);
  std::string line;
  while (list.paths.size() < kRecentDrawingsLimit && std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || std::find(list.paths.begin(), list.paths.end(), line) != list.paths.end()) continue;
    list.paths.push_back(line);
  }
  return list;
}

bool WriteRecentDrawings(const std::string& file, const RecentDrawings& list) {
  std::error_code ec;
  const std::filesystem::path p(file);
  if (p.has_parent_path()) std::filesystem::create_directories(p.parent_path(), ec);
  // Written beside and renamed over, so a failed write keeps the old list.
  const std::string part = file + ".part";
  {
    std::ofstream out(part, std::ios::binary | std::ios::trunc);
    for (const std::string& path : list.paths) out << path << '\n';
    out.flush();
    if (!out) {
      std::filesystem::remove(part, ec);
      return false;
    }
  }
  std::filesystem::rename(part, file, ec);
  return !ec;
}

void NoteRecentDrawing(RecentDrawings& list, const std::string& path) {
  if (path.empty()) return;
  std::vector<std::string>& p = list.paths;
  p.erase(std::remove(p.begin(), p.end(), path), p.end());
  p.insert(p.begin(), path);
  if (p.size() > kRecentDrawingsLimit) p.resize(kRecentDrawingsLimit);
}

RecentChoice ChooseRecentDrawing(RecentDrawings& list, std::size_t index,
                                 const std::function<bool(const std::string&)>& exists) {
  RecentChoice choice;
  if (index >= list.paths.size()) return choice;
  const std::string path = list.paths[index];
  if (exists(path)) {
    choice.open = path;
    return choice;
  }
  list.paths.erase(list.paths.begin() + static_cast<std::ptrdiff_t>(index));
  choice.message = "図面ファイルが見つかりません。\n" + path + "\n最近使った図面の一覧から削除しました。";
  return choice;
}

std::string RecentDrawingCaption(const RecentDrawings& list, std::size_t index) {
  if (index >= list.paths.size()) return {};
  std::string path;
  for (char c : list.paths[index]) {
    if (c == '&') path += '&';  // a menu shows "&&" as one ampersand
    path += c;
  }
  return "&" + std::to_string(index + 1) + " " + path;
}

}  // namespace planimo
