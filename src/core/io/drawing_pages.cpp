#include "io/drawing_pages.h"

#include <cmath>

namespace planimo {

std::string PageLine(const DrawingPage& p) {
  std::string line = std::to_string(p.number) + " ページ";
  if (p.widthMm > 0 && p.heightMm > 0) {
    line += "　" + std::to_string(std::lround(p.widthMm)) + " × " +
            std::to_string(std::lround(p.heightMm)) + " mm";
  }
  line += "（" + std::to_string(p.widthPx) + " × " + std::to_string(p.heightPx) + " ピクセル）";
  return line;
}

PagePick PickPage(const std::vector<DrawingPage>& pages, int requested, PageChooser* chooser) {
  PagePick pick;
  const int count = static_cast<int>(pages.size());
  if (requested != 0) {
    if (requested >= 1 && requested <= count) {
      pick.page = requested;
    } else {
      pick.error = "ページ " + std::to_string(requested) +
                   " はありません。このファイルのページは " + std::to_string(count) +
                   " ページです。";
    }
    return pick;
  }
  if (count <= 1 || chooser == nullptr) {
    pick.page = 1;
    return pick;
  }
  const std::optional<int> chosen = chooser->ChoosePage(pages);
  if (!chosen) {
    pick.cancelled = true;
  } else if (*chosen >= 1 && *chosen <= count) {
    pick.page = chosen;
  } else {
    pick.error = "ページ " + std::to_string(*chosen) + " はありません。";
  }
  return pick;
}

}  // namespace planimo
