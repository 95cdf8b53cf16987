#include "io/settings_place.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "io/settings.h"
#include "model/unit_tables.h"

namespace planimo {
namespace {

// Files by path, each writable or not; copies succeed unless refused.
struct TableFacts : FileFacts {
  std::map<std::string, bool> files;
  bool copyRefused = false;
  std::vector<std::string> copies;

  bool IsFile(const std::string& path) const override { return files.count(path) > 0; }
  bool IsWritableFile(const std::string& path) const override {
    const auto it = files.find(path);
    return it != files.end() && it->second;
  }
  bool CopyFile(const std::string& from, const std::string& to) override {
    if (copyRefused || !IsFile(from)) return false;
    copies.push_back(from + " > " + to);
    files[to] = true;
    return true;
  }
};

const InstallFolders kFolders{"/opt/p/bin", "/opt/p/share/planimo", "/home/u/.config/planimo"};
const std::string kBeside = "/opt/p/bin/Init.ini";
const std::string kShared = "/opt/p/share/planimo/Init.ini";
const std::string kOwn = "/home/u/.config/planimo/Init.ini";

TEST(SettingsPlaceTest, PortableCopyThenUsersOwnCopyMadeOnceFromTheInstallation) {
  struct Case {
    const char* what;
    std::map<std::string, bool> files;
    bool copyRefused;
    std::string shippedFolder;
    SettingsFiles expected;
    std::vector<std::string> copies;
  };
  const Case cases[] = {
      {"writable copy beside the program", {{kBeside, true}, {kShared, false}, {kOwn, true}}, false,
       "/opt/p/bin", {kBeside, kBeside}, {}},
      {"read-only copy beside the program, first start", {{kBeside, false}}, false,
       "/opt/p/bin", {kOwn, kOwn}, {kBeside + " > " + kOwn}},
      {"read-only copy beside the program, later start", {{kBeside, false}, {kOwn, true}}, false,
       "/opt/p/bin", {kOwn, kOwn}, {}},
      {"installed, first start", {{kShared, false}}, false,
       "/opt/p/share/planimo", {kOwn, kOwn}, {kShared + " > " + kOwn}},
      {"installed and writable by this user (root): still the user's copy", {{kShared, true}}, false,
       "/opt/p/share/planimo", {kOwn, kOwn}, {kShared + " > " + kOwn}},
      {"installed, later start", {{kShared, false}, {kOwn, false}}, false,
       "/opt/p/share/planimo", {kOwn, kOwn}, {}},
      {"user's folder cannot be written", {{kShared, false}}, true,
       "/opt/p/share/planimo", {kShared, ""}, {}},
      {"bare executable", {}, false, "/opt/p/bin", {kOwn, kOwn}, {}},
  };
  for (const Case& c : cases) {
    TableFacts facts;
    facts.files = c.files;
    facts.copyRefused = c.copyRefused;
    EXPECT_EQ(ShippedFilesFolder(kFolders, facts), c.shippedFolder) << c.what;
    const SettingsFiles chosen = ChooseSettingsFiles(kFolders, facts);
    EXPECT_EQ(chosen.read, c.expected.read) << c.what;
    EXPECT_EQ(chosen.write, c.expected.write) << c.what;
    EXPECT_EQ(facts.copies, c.copies) << c.what;
    // Nothing is ever written into the installation.
    EXPECT_TRUE(chosen.write.empty() || chosen.write == kOwn || chosen.write == kBeside) << c.what;
  }
}

TEST(SettingsPlaceTest, WithoutAUserFolderTheShippedFileIsOnlyRead) {
  TableFacts facts;
  facts.files = {{kShared, true}};
  const InstallFolders noUser{kFolders.program, kFolders.shared, ""};
  const SettingsFiles chosen = ChooseSettingsFiles(noUser, facts);
  EXPECT_EQ(chosen.read, kShared);
  EXPECT_EQ(chosen.write, "");
  EXPECT_TRUE(facts.copies.empty());

  AppSettings settings;
  settings.PRJ_FD = "/drawings";
  EXPECT_FALSE(WriteFolders(chosen.write, settings));
}

}  // namespace
}  // namespace planimo
