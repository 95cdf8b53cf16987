#pragma once

// The error numbers a failing command reports in its "ｴﾗｰ" box, the short
// description that goes with each, and the mapping from system errors.

#include <string>
#include <string_view>
#include <system_error>

namespace planimo {

enum ErrorNumber : int {
  kErrInvalidArgument = 5,
  kErrOverflow = 6,
  kErrOutOfMemory = 7,
  kErrSubscript = 9,
  kErrDivisionByZero = 11,
  kErrTypeMismatch = 13,
  kErrFileNotFound = 53,
  kErrInputPastEnd = 62,
  kErrDiskFull = 61,
  kErrPermissionDenied = 70,
  kErrPathFileAccess = 75,
  kErrPathNotFound = 76,
  kErrInvalidPicture = 481,
  kErrCancelled = 32755,  // the user cancelled a chooser; never reported
};

inline constexpr std::string_view kErrorBoxTitle = "ｴﾗｰ";

struct ErrorReport {
  int number = 0;
  std::string description;
};

// Short Japanese description of `number`; a non-empty path is named after it.
std::string ErrorDescription(int number, std::string_view path = {});

// A numbered report that also says what exactly is wrong: the number's own
// description, `cause`, then the path in parentheses.
ErrorReport ErrorWithCause(int number, std::string_view cause, std::string_view path);

// A system error on `path` as a numbered report. A missing file whose folder
// is missing too is "path not found"; unknown errors are path/file access
// errors carrying the system's own message.
ErrorReport ErrorFromErrno(int err, std::string_view path);
ErrorReport ErrorFromCode(std::error_code ec, std::string_view path);

// False for the cancellation number, which is never shown.
bool IsReported(int number);

// handler + "():ｴﾗｰ番号 " + number + " ｴﾗｰが発生しました。" + CR + description.
std::string ErrorBoxText(std::string_view handler, int number, std::string_view description);

}  // namespace planimo
