#pragma once

// The takeoff items and each object's membership in the project file: a
// section "[品目]" of its own after the project's sections, which readers
// that know only those pass over.
//
//   [品目]
//   品目数=2
//   品目1=外壁
//   色1=255
//   lblKyori(3)=1
//   lblMensekiS(0)=2,控除
//
// A member key names the label's collection and its index there; its value
// is the item number (0 for none), with ",控除" for an area that counts
// against its item. A project without items or marks writes no section, so
// its file is what it always was.

#include "io/ini_file.h"
#include "model/document.h"

namespace planimo {

inline constexpr const char* kTakeoffSection = "品目";

// Replaces the section in `ini` by the items of `s` and the membership of
// the labels in `objects` (or takes it away when there is nothing to keep).
void PutTakeoffSection(IniDocument& ini, const ProjectState& s, const Collections& objects);

// Reads the section into `s` and onto the labels of `objects`, which are
// read already. What does not read (a key of no collection, an index past
// the collection, an item number past the items) is passed over: the
// object is then outside any item.
void GetTakeoffSection(const IniDocument& ini, ProjectState& s, Collections& objects);

}  // namespace planimo
