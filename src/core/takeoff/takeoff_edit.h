#pragma once

// The commands that name takeoff items and put measurements into them. Each
// is one plain call over the Document, marks the drawing changed when it
// changed anything and returns false when it did not, so that one user
// action is one undo step.

#include <string>
#include <vector>

#include "model/document.h"

namespace planimo {

// No project holds more items than this.
constexpr int kMaxTakeoffItems = 999;

// A new item at the end of the list; its number (from 1), or 0 when the name
// is blank or holds a line break, or the list is full. The name is kept
// without its surrounding blanks.
int AddItem(Document& doc, const std::string& name, Colour colour);

// Renames and recolours item `item`; false for a number without an item or
// a name AddItem refuses.
bool ChangeItem(Document& doc, int item, const std::string& name, Colour colour);

// Removes item `item`: its members belong to no item afterwards, and the
// items after it move up one number with their members.
bool RemoveItem(Document& doc, int item);

// Puts every listed object (selections as a right-click makes them) into
// item `item`, 0 taking them out of any item. Selections that name no kept
// object of the list are passed over.
bool AssignItem(Document& doc, const std::vector<SelectedObject>& objects, int item);

// Marks the listed areas as deductions, or takes the mark away; other
// objects are passed over.
bool SetDeduction(Document& doc, const std::vector<SelectedObject>& objects, bool deduction);

}  // namespace planimo
