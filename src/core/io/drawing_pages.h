#pragma once

// Which page of a drawing file of several pages (a multi-page TIFF, a PDF)
// is shown: the page named on the command line or stored in the project,
// else the user's choice when there is more than one.

#include <optional>
#include <string>
#include <vector>

namespace planimo {

// One page as the chooser lists it.
struct DrawingPage {
  int number = 1;   // from 1
  int widthPx = 0;  // as it opens (a PDF page at 96 dpi)
  int heightPx = 0;
  double widthMm = 0;  // paper size; 0 when the file does not say
  double heightMm = 0;
};

// The page chooser the shell shows; tests answer it themselves.
class PageChooser {
 public:
  virtual ~PageChooser() = default;
  // The chosen page number, or nothing for a cancel.
  virtual std::optional<int> ChoosePage(const std::vector<DrawingPage>& pages) = 0;
};

// One line of the chooser: "2 ページ　420 × 297 mm（1587 × 1123 ピクセル）".
std::string PageLine(const DrawingPage& page);

struct PagePick {
  std::optional<int> page;  // the page to open
  bool cancelled = false;   // the user cancelled the chooser: nothing is opened
  std::string error;        // the requested page does not exist
};

// `requested` 0 asks `chooser` when the file has several pages (page 1
// without a chooser); a requested page outside the file is an error.
PagePick PickPage(const std::vector<DrawingPage>& pages, int requested, PageChooser* chooser);

}  // namespace planimo
