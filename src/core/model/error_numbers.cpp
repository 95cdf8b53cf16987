#include "model/error_numbers.h"

#include <cerrno>
#include <filesystem>

namespace planimo {

namespace {

std::string_view BaseDescription(int number) {
  switch (number) {
    case kErrInvalidArgument: return "引数が正しくありません。";
    case kErrOverflow: return "オーバーフローしました。";
    case kErrOutOfMemory: return "メモリが不足しています。";
    case kErrSubscript: return "インデックスが有効範囲にありません。";
    case kErrDivisionByZero: return "0 で除算しました。";
    case kErrTypeMismatch: return "型が一致しません。";
    case kErrFileNotFound: return "ファイルが見つかりません。";
    case kErrInputPastEnd: return "ファイルの終わりを越えて読み込もうとしました。";
    case kErrDiskFull: return "ディスクの空き容量が不足しています。";
    case kErrPermissionDenied: return "書き込みが許可されていません。";
    case kErrPathFileAccess: return "パス名またはファイル名が正しくありません。";
    case kErrPathNotFound: return "パスが見つかりません。";
    case kErrInvalidPicture: return "画像の形式が正しくありません。";
    case kErrCancelled: return "キャンセルされました。";
    default: return "アプリケーション定義またはオブジェクト定義のエラーです。";
  }
}

std::string WithPath(std::string text, std::string_view path) {
  if (!path.empty()) {
    text += " (";
    text += path;
    text += ")";
  }
  return text;
}

// A file is "not found" while its folder exists; otherwise the path is.
int MissingNumber(std::string_view path) {
  const std::filesystem::path parent = std::filesystem::path(path).parent_path();
  std::error_code ignored;
  if (parent.empty() || std::filesystem::is_directory(parent, ignored)) return kErrFileNotFound;
  return kErrPathNotFound;
}

}  // namespace

std::string ErrorDescription(int number, std::string_view path) {
  return WithPath(std::string(BaseDescription(number)), path);
}

ErrorReport ErrorWithCause(int number, std::string_view cause, std::string_view path) {
  return {number, WithPath(std::string(BaseDescription(number)) + " " + std::string(cause), path)};
}

ErrorReport ErrorFromErrno(int err, std::string_view path) {
  int number = kErrPathFileAccess;
  switch (err) {
    case EINVAL: number = kErrInvalidArgument; break;
    case EOVERFLOW:
    case ERANGE: number = kErrOverflow; break;
    case ENOMEM: number = kErrOutOfMemory; break;
    case EDOM: number = kErrDivisionByZero; break;
    case ENOENT: number = MissingNumber(path); break;
    case ENOTDIR: number = kErrPathNotFound; break;
    case ENOSPC:
    case EDQUOT: number = kErrDiskFull; break;
    case EACCES:
    case EPERM:
    case EROFS: number = kErrPermissionDenied; break;
    default: {
      // Keep what the system says: "path/file access error" alone tells the user nothing.
      const std::string message = std::generic_category().message(err);
      return {kErrPathFileAccess, WithPath(std::string(BaseDescription(kErrPathFileAccess)) + " " +
                                               message, path)};
    }
  }
  return {number, ErrorDescription(number, path)};
}

ErrorReport ErrorFromCode(std::error_code ec, std::string_view path) {
  const std::error_condition condition = ec.default_error_condition();
  if (condition.category() == std::generic_category()) return ErrorFromErrno(condition.value(), path);
  return {kErrPathFileAccess,
          WithPath(std::string(BaseDescription(kErrPathFileAccess)) + " " + ec.message(), path)};
}

bool IsReported(int number) { return number != kErrCancelled; }

std::string ErrorBoxText(std::string_view handler, int number, std::string_view description) {
  std::string text(handler);
  text += "():ｴﾗｰ番号 ";
  text += std::to_string(number);
  text += " ｴﾗｰが発生しました。";
  text += '\r';
  text += description;
  return text;
}

}  // namespace planimo
