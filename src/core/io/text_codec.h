#pragma once

// Text encodings of the files the program reads and writes. Files written by
// the program are in the Japanese Windows code page (CP932); files may also
// arrive as UTF-8, with or without a byte-order mark. Inside the program all
// text is UTF-8.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace planimo {

// The UTF-8 byte-order mark.
inline constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
// The UTF-16 byte-order marks; neither can start CP932 text.
inline constexpr std::string_view kUtf16LeBom = "\xFF\xFE";
inline constexpr std::string_view kUtf16BeBom = "\xFE\xFF";

// True when `bytes` is well-formed UTF-8 (no overlong forms, no surrogates,
// nothing above U+10FFFF).
bool IsValidUtf8(std::string_view bytes);

// Turns file bytes into UTF-8: UTF-8 or UTF-16 after its byte-order mark (a
// settings file saved as "Unicode" by a Windows editor) and valid UTF-8 are
// taken as they are, anything else is read as CP932. Bytes that CP932 cannot read
// (a lead byte at the very end, a lead byte before CR or LF, an unassigned
// pair) become U+FFFD each, and decoding goes on with the next byte, so line
// ends and the rest of the file survive.
std::string DecodeFileText(std::string_view bytes);

// UTF-16 bytes after their byte-order mark as UTF-8, every unreadable unit
// replaced by U+FFFD; nothing when the bytes start with no such mark.
std::optional<std::string> DecodeUtf16Text(std::string_view bytes);

// Reads bytes as CP932 whatever they look like, with the same replacement
// of unreadable bytes as DecodeFileText.
std::string DecodeCp932Text(std::string_view bytes);

// Encodes UTF-8 text as CP932. The wave dash, double vertical line, minus
// sign and the cent, pound and not signs (what input methods outside
// Windows give) take the CP932 forms Japanese Windows systems store for
// them (0x81 0x60, 0x81 0x61, 0x81 0x7C, 0x81 0x91, 0x81 0x92, 0x81 0xCA),
// and so read back as those forms' characters (U+FF5E for the wave dash).
// Empty when some other character has no exact CP932 form (emoji, rare
// kanji, the yen sign CP932 would turn into "\"), so the caller can choose
// another encoding instead of losing it.
std::optional<std::string> EncodeCp932(std::string_view utf8);

// The text as a CP932 file gives it back: those six characters replaced by
// the characters their CP932 forms read as, everything else unchanged.
std::string Cp932BestFit(std::string_view utf8);

// The longest start of `utf8` whose CP932 form fits in `maxBytes` bytes,
// counted the way a reader with a byte-sized buffer counts: ASCII and
// half-width katakana take one byte, every other character two, and a
// double-byte character is never split.
std::string_view Cp932Prefix(std::string_view utf8, std::size_t maxBytes);

}  // namespace planimo
