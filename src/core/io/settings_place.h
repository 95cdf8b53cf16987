#pragma once

// Where the program finds its shipped files and which Init.ini it keeps. A
// writable Init.ini beside the program is a portable copy and is used as it
// is; otherwise every user keeps an own copy in the user's configuration
// folder, made on the first start from the one the installation ships, so
// that nothing is ever written into the installation.

#include <string>

namespace planimo {

// What the choice needs to know about files. The shell answers from the file
// system; tests answer from a table.
class FileFacts {
 public:
  virtual ~FileFacts() = default;
  virtual bool IsFile(const std::string& path) const = 0;
  // True when the file can be replaced: by this user, with its write
  // permission set, in a folder that takes the replacement.
  virtual bool IsWritableFile(const std::string& path) const = 0;
  // Copies `from` to `to`, making the folders of `to`; the copy is writable
  // by its owner. False when nothing was copied.
  virtual bool CopyFile(const std::string& from, const std::string& to) = 0;
};

struct InstallFolders {
  std::string program;  // the executable's own folder
  std::string shared;   // the installation's shared files (help, default Init.ini)
  std::string user;     // this program's folder among the user's settings; may be empty
};

// The Init.ini read at start and the one folder choices are stored in; an
// empty `write` stores them nowhere (they last until the program ends).
struct SettingsFiles {
  std::string read;
  std::string write;
};

// The folder of the help and the default Init.ini: the program's own folder
// when Init.ini is there (a build or a portable copy), else the shared one
// when Init.ini is there, else the program's folder.
std::string ShippedFilesFolder(const InstallFolders& folders, const FileFacts& facts);

// Picks, and on a first start creates, the Init.ini to use.
SettingsFiles ChooseSettingsFiles(const InstallFolders& folders, FileFacts& facts);

}  // namespace planimo
