#pragma once

// "最近使った図面": the projects the user opened or saved last, newest
// first, kept per user in the user's configuration folder (one path a line,
// UTF-8), never in a project.

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace planimo {

constexpr std::size_t kRecentDrawingsLimit = 8;

struct RecentDrawings {
  std::vector<std::string> paths;  // newest first
};

// The list file inside the user's configuration folder.
std::string RecentDrawingsPath(const std::string& configFolder);

// A missing or unreadable file is an empty list; blank lines and repeats are
// skipped, and no more than the limit is taken.
RecentDrawings ReadRecentDrawings(const std::string& file);
// Creates the folder when needed; false when the file could not be written.
bool WriteRecentDrawings(const std::string& file, const RecentDrawings& list);

// A project was opened or saved: it moves to the top, the oldest beyond the
// limit drops out.
void NoteRecentDrawing(RecentDrawings& list, const std::string& path);

// The user chose entry `index`. A file that still exists is returned to be
// opened; a missing one is removed from the list and `message` says so.
struct RecentChoice {
  std::optional<std::string> open;
  std::string message;
};
RecentChoice ChooseRecentDrawing(RecentDrawings& list, std::size_t index,
                                 const std::function<bool(const std::string&)>& exists);

// The caption of entry `index` in the menu: "&1 " and the path.
std::string RecentDrawingCaption(const RecentDrawings& list, std::size_t index);

}  // namespace planimo
