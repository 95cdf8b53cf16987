#include "io/settings_place.h"

#include "io/settings.h"

namespace planimo {

std::string ShippedFilesFolder(const InstallFolders& folders, const FileFacts& facts) {
  if (facts.IsFile(SettingsPath(folders.program))) return folders.program;
  if (!folders.shared.empty() && facts.IsFile(SettingsPath(folders.shared))) return folders.shared;
  return folders.program;
}

SettingsFiles ChooseSettingsFiles(const InstallFolders& folders, FileFacts& facts) {
  const std::string portable = SettingsPath(folders.program);
  if (facts.IsFile(portable) && facts.IsWritableFile(portable)) return {portable, portable};

  const std::string shipped = SettingsPath(ShippedFilesFolder(folders, facts));
  const bool hasShipped = facts.IsFile(shipped);
  if (folders.user.empty()) return {hasShipped ? shipped : std::string(), {}};

  const std::string own = SettingsPath(folders.user);
  if (facts.IsFile(own)) return {own, own};
  // A bare executable: the built-in tables apply, and a folder choice starts
  // the user's file where the user's folder exists.
  if (!hasShipped) return {own, own};
  if (facts.CopyFile(shipped, own)) return {own, own};
  // The user's folder cannot be written: read the shipped tables, keep folder
  // choices for this run only, and try the copy again on the next start.
  return {shipped, {}};
}

}  // namespace planimo
