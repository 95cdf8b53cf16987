#include "fuzz_entries.h"

#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <string_view>

#include "io/atomic_write.h"
#include "io/ini_file.h"
#include "io/object_files.h"
#include "io/text_codec.h"

namespace planimo {
namespace {

void Require(bool ok, const char* what) {
  if (ok) return;
  std::fprintf(stderr, "fuzz property broken: %s\n", what);
  std::abort();
}

using Reader = ReadEnd (*)(std::istream&, Collections&);
using Writer = std::string (*)(const Collections&);

std::string ReadAndWrite(const std::string& bytes, Reader read, Writer write) {
  Collections o;
  std::istringstream in(bytes);
  read(in, o);
  return write(o);
}

}  // namespace

int FuzzIniLayer(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const std::string decoded = DecodeFileText(bytes);
  IniDocument doc = ParseIni(decoded);
  // A stored value reads back as it was given, whatever the file held.
  const std::string value = "v=\" " + std::string(Cp932Prefix(decoded, 40)) + " \"";
  if (PutValue(doc, "全般", "GE_booSnap", value)) {
    const std::string got = GetValue(doc, "全般", "GE_booSnap");
    Require(got == value, "value stored reads back");
  }
  // The file as written parses to the same lines (in CP932 with the
  // characters Windows stores as a neighbour turned into it).
  const std::string text = FormatIni(doc);
  const std::string written = EncodeFileText(text);
  const IniDocument again = ParseIni(DecodeFileText(written));
  const bool utf8 = written.starts_with(kUtf8Bom);
  Require(again.lines == (utf8 ? doc.lines : ParseIni(Cp932BestFit(text)).lines), "formatted lines parse back");
  return 0;
}

int FuzzObjectFiles(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const Reader readers[] = {&ReadTextObjects, &ReadLineObjects, &ReadShapeObjects};
  const Writer writers[] = {&FormatTextFile, &FormatLineFile, &FormatShapeFile};
  const std::size_t kind = data[0] % 3;
  const std::string bytes(reinterpret_cast<const char*>(data + 1), size - 1);
  const std::string first = ReadAndWrite(bytes, readers[kind], writers[kind]);
  // What the program writes reads back to the same records, in either
  // encoding (in CP932 with the characters Windows stores as a neighbour
  // turned into it).
  const std::string encoded = EncodeFileText(first);
  const std::string second = ReadAndWrite(encoded, readers[kind], writers[kind]);
  Require(second == (encoded.starts_with(kUtf8Bom) ? first : Cp932BestFit(first)), "written objects read back the same");
  return 0;
}

}  // namespace planimo
