#include "io/atomic_write.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <cstdio>
#include <filesystem>
#include <random>
#include <system_error>
#include <unordered_map>
#include <vector>

#include "io/text_codec.h"

namespace planimo {
namespace {

namespace fs = std::filesystem;

std::string UniqueSuffix() {
  std::random_device device;
  const auto ticks = std::chrono::steady_clock::now().time_since_epoch().count();
  return std::to_string(device()) + "-" + std::to_string(ticks);
}

// The file a path finally names, and whether it exists; a report when it
// cannot be replaced.
struct Target {
  fs::path path;
  bool exists = false;
  fs::perms perms = fs::perms::none;
};

std::optional<ErrorReport> ResolveTarget(const std::string& path, Target& t) {
  std::error_code ec;
  t.path = path;
  if (fs::is_symlink(fs::symlink_status(t.path, ec))) {
    t.path = fs::weakly_canonical(t.path, ec);
    if (ec) return ErrorFromCode(ec, path);
  }
  const fs::file_status old = fs::status(t.path, ec);
  t.exists = fs::exists(old);
  if (t.exists) {
    if (!fs::is_regular_file(old)) return ErrorReport{kErrPathFileAccess, ErrorDescription(kErrPathFileAccess, path)};
    if ((old.permissions() & fs::perms::owner_write) == fs::perms::none) {
      return ErrorReport{kErrPermissionDenied, ErrorDescription(kErrPermissionDenied, path)};
    }
    t.perms = old.permissions();
  } else if (old.type() != fs::file_type::not_found) {
    return ErrorFromCode(ec, path);
  }
  return std::nullopt;
}

// Writes `bytes` to a new file at `temp`; every step is checked.
std::optional<ErrorReport> WriteWhole(const fs::path& temp, const std::string& bytes, const std::string& shown) {
  errno = 0;
  std::FILE* f = std::fopen(temp.c_str(), "wb");
  if (f == nullptr) return ErrorFromErrno(errno != 0 ? errno : EIO, shown);
  std::size_t done = 0;
  while (done < bytes.size()) {
    errno = 0;
    const std::size_t n = std::fwrite(bytes.data() + done, 1, bytes.size() - done, f);
    if (n == 0) break;
    done += n;
  }
  int err = done == bytes.size() ? 0 : (errno != 0 ? errno : EIO);
  errno = 0;
  if (std::fflush(f) != 0 && err == 0) err = errno != 0 ? errno : EIO;
  errno = 0;
  if (std::fclose(f) != 0 && err == 0) err = errno != 0 ? errno : EIO;
  if (err != 0) return ErrorFromErrno(err, shown);
  return std::nullopt;
}

// Where the run of ASCII bytes from `i` ends, eight bytes a step: most of a
// project's bytes are plain numbers.
std::size_t AsciiRunEnd(std::string_view text, std::size_t i) {
  for (; i + 8 <= text.size(); i += 8) {
    std::uint64_t word;
    std::memcpy(&word, text.data() + i, 8);
    if ((word & 0x8080808080808080u) != 0) break;
  }
  return i;
}

void RemoveAll(const std::vector<fs::path>& temps) {
  std::error_code ignored;
  for (const fs::path& p : temps) fs::remove(p, ignored);
}

// Whether `name` is `file` followed by a temporary suffix of ours:
// ".tmp-", digits, "-", digits.
bool IsTemporaryOf(const std::string& name, const std::string& file) {
  const std::string head = file + ".tmp-";
  if (!name.starts_with(head)) return false;
  const std::string_view rest = std::string_view(name).substr(head.size());
  const std::size_t dash = rest.find('-');
  const auto digits = [](std::string_view d) {
    return !d.empty() && d.find_first_not_of("0123456789") == std::string_view::npos;
  };
  return dash != std::string_view::npos && digits(rest.substr(0, dash)) && digits(rest.substr(dash + 1));
}

// A save killed half-way leaves its temporaries beside the files (the files
// themselves are whole); the next save of the same files takes them away.
// Another file's temporaries, which may belong to a save still running, stay.
void RemoveStaleTemporaries(const std::vector<Target>& targets) {
  const auto folderOf = [](const Target& t) { return t.path.has_parent_path() ? t.path.parent_path() : fs::path("."); };
  std::vector<fs::path> folders;
  for (const Target& t : targets) {
    if (std::find(folders.begin(), folders.end(), folderOf(t)) == folders.end()) folders.push_back(folderOf(t));
  }
  for (const fs::path& folder : folders) {
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
      const std::string name = it->path().filename().string();
      for (const Target& t : targets) {
        const std::string file = t.path.filename().string();
        std::error_code ignored;
        if (folderOf(t) == folder && (IsTemporaryOf(name, file) || IsTemporaryOf(name, file + ".bak")) &&
            it->is_regular_file(ignored)) {
          fs::remove(it->path(), ignored);
        }
      }
    }
  }
}

// Makes `bak` a second name of the file at `path` or, where the file system
// has no links, a copy of it, complete before it takes the name.
std::optional<ErrorReport> KeepBackup(const fs::path& path, const fs::path& bak, const std::string& suffix) {
  std::error_code ec;
  fs::create_hard_link(path, bak, ec);
  if (!ec) return std::nullopt;
  fs::path part = bak;
  part += suffix;
  fs::copy_file(path, part, fs::copy_options::overwrite_existing, ec);
  if (!ec) fs::rename(part, bak, ec);
  if (!ec) return std::nullopt;
  std::error_code ignored;
  fs::remove(part, ignored);
  return ErrorFromCode(ec, bak.string());
}

}  // namespace

std::string EncodeFileText(std::string_view utf8) { return EncodeFileTextNoting(utf8).bytes; }

EncodedFileText EncodeFileTextNoting(std::string_view utf8) {
  const auto asUtf8 = [&](bool beyondCp932) {
    return EncodedFileText{std::string(kUtf8Bom) + std::string(utf8), beyondCp932};
  };
  // ASCII is the same in CP932; the runs between are converted once each
  // (the object files repeat the same few font names and units thousands of
  // times), which keeps a large project's save fast.
  std::string out;
  out.reserve(utf8.size());
  std::unordered_map<std::string_view, std::string> converted;
  const auto ascii = [](char c) { return static_cast<unsigned char>(c) < 0x80; };
  for (std::size_t i = 0; i < utf8.size();) {
    std::size_t j = i;
    const bool plain = ascii(utf8[i]);
    if (plain) j = AsciiRunEnd(utf8, i);
    while (j < utf8.size() && ascii(utf8[j]) == plain) ++j;
    const std::string_view run = utf8.substr(i, j - i);
    i = j;
    if (plain) {
      out += run;
      continue;
    }
    auto it = converted.find(run);
    if (it == converted.end()) {
      std::optional<std::string> cp932 = EncodeCp932(run);
      if (!cp932) return asUtf8(true);
      it = converted.emplace(run, std::move(*cp932)).first;
    }
    out += it->second;
  }
  // CP932 bytes that also read as UTF-8 would come back as other text: such
  // a file is written as UTF-8 with its mark instead.
  if (out != utf8 && IsValidUtf8(out)) return asUtf8(false);
  return {std::move(out), false};
}

std::optional<ErrorReport> WriteFilesAtomically(std::span<const FileWrite> files, bool keepBackups) {
  std::vector<Target> targets(files.size());
  for (std::size_t i = 0; i < files.size(); ++i) {
    if (auto report = ResolveTarget(files[i].path, targets[i])) return report;
  }

  RemoveStaleTemporaries(targets);

  std::vector<fs::path> temps;
  const std::string suffix = ".tmp-" + UniqueSuffix();
  for (std::size_t i = 0; i < files.size(); ++i) {
    fs::path temp = targets[i].path;
    temp += suffix;
    temps.push_back(temp);
    if (auto report = WriteWhole(temp, files[i].bytes, files[i].path)) {
      RemoveAll(temps);
      return report;
    }
    std::error_code ec;
    if (targets[i].exists) fs::permissions(temp, targets[i].perms, ec);
  }

  if (keepBackups) {
    // The backups are one save's set: every old one goes (also that of a
    // file gone since) before the first new one is made, so that a save cut
    // short anywhere never leaves backups of two saves side by side.
    std::vector<fs::path> baks;
    for (const Target& t : targets) {
      baks.push_back(t.path);
      baks.back() += ".bak";
      std::error_code ec;
      fs::remove(baks.back(), ec);
      if (ec) {
        RemoveAll(temps);
        return ErrorFromCode(ec, baks.back().string());
      }
    }
    for (std::size_t i = 0; i < files.size(); ++i) {
      if (!targets[i].exists) continue;
      if (auto report = KeepBackup(targets[i].path, baks[i], suffix)) {
        RemoveAll(temps);
        return report;
      }
    }
  }

  for (std::size_t i = 0; i < files.size(); ++i) {
    std::error_code ec;
    fs::rename(temps[i], targets[i].path, ec);
    if (ec) {
      // Files renamed so far are complete new ones; the rest stay old.
      RemoveAll(std::vector<fs::path>(temps.begin() + static_cast<std::ptrdiff_t>(i), temps.end()));
      return ErrorFromCode(ec, files[i].path);
    }
  }
  return std::nullopt;
}

std::optional<ErrorReport> BeginReplacement(const std::string& path, Replacement& r, int* fd) {
  if (path.empty()) return ErrorFromErrno(ENOENT, path);
  Target t;
  if (auto report = ResolveTarget(path, t)) return report;
  // What an export killed half-way left beside this target goes first.
  RemoveStaleTemporaries({t});
  r.shown = path;
  r.target = t.path.string();
  r.temp = r.target + ".tmp-" + UniqueSuffix();
  // Exclusive: a file or link already under the temporary name is never written through.
  const int f = ::open(r.temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (f < 0) return ErrorFromErrno(errno, path);
  if (t.exists) (void)::fchmod(f, static_cast<mode_t>(t.perms & fs::perms::mask));
  if (fd != nullptr) {
    *fd = f;
  } else if (::close(f) != 0) {
    const int err = errno;
    AbandonReplacement(r);
    return ErrorFromErrno(err, path);
  }
  return std::nullopt;
}

std::optional<ErrorReport> CommitReplacement(const Replacement& r) {
  std::error_code ec;
  // Something other than a file may have taken the target's place meanwhile.
  const fs::file_status now = fs::symlink_status(r.target, ec);
  if (fs::exists(now) && !fs::is_regular_file(now)) {
    AbandonReplacement(r);
    return ErrorReport{kErrPathFileAccess, ErrorDescription(kErrPathFileAccess, r.shown)};
  }
  fs::rename(r.temp, r.target, ec);
  if (!ec) return std::nullopt;
  AbandonReplacement(r);
  return ErrorFromCode(ec, r.shown);
}

void AbandonReplacement(const Replacement& r) {
  if (!r.temp.empty()) std::remove(r.temp.c_str());
}

ErrorReport WriteFailureCause(const Replacement& r) {
  const int f = ::open(r.temp.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC);
  if (f < 0) return ErrorFromErrno(errno, r.shown);
  // A full disk may still take the last few blocks: up to 16 MiB are tried.
  static constexpr char kZeros[64 * 1024] = {};
  int err = 0;
  for (int i = 0; i < 256 && err == 0; ++i) {
    if (::write(f, kZeros, sizeof kZeros) < 0 && errno != EINTR) err = errno;
  }
  if (err == 0 && ::fsync(f) != 0) err = errno;
  ::close(f);
  if (err != 0) return ErrorFromErrno(err, r.shown);
  return {kErrPathFileAccess, ErrorDescription(kErrPathFileAccess, r.shown)};
}

}  // namespace planimo
