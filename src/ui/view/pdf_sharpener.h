#pragma once

// Sharp renderings of the visible part of a PDF page at the zoom shown. The
// 96 dpi picture stays the drawing's image; at any other zoom the page is
// rendered again, only where the viewport shows it, at the surface's own
// resolution, so that thin lines and small texts stay crisp at 400 %.
//
// One worker renders one request at a time; a request made while it works
// replaces the one still waiting, so the latest wins and the window never
// waits. Each result carries the ticket of its request: the caller keeps
// only the result of the request it made last.

#include <QImage>
#include <QRect>
#include <QString>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>

namespace planimo {

struct SharpRequest {
  unsigned ticket = 0;
  unsigned source = 0;  // changes when the drawing is opened again: the file may have changed
  QString path;
  int page = 1;   // from 1
  QSize surface;  // the whole page at the zoom, in surface pixels
  QRect clip;     // the part wanted, in the same pixels
};

struct SharpPicture {
  unsigned ticket = 0;
  QRect clip;    // where it lies on the surface the request named
  QImage image;  // clip.size() pixels over white paper; null when the page could not be drawn
};

class PdfSharpener {
 public:
  // `delivered` runs on the worker thread with every finished rendering.
  explicit PdfSharpener(std::function<void(SharpPicture)> delivered);
  ~PdfSharpener();
  PdfSharpener(const PdfSharpener&) = delete;
  PdfSharpener& operator=(const PdfSharpener&) = delete;

  // Replaces any request not yet started.
  void request(SharpRequest r);
  // Forgets the request not yet started; one being rendered still delivers.
  void withdraw();

 private:
  void run();

  std::function<void(SharpPicture)> delivered_;
  std::mutex mutex_;
  std::condition_variable wake_;
  std::optional<SharpRequest> waiting_;
  bool stopping_ = false;
  std::thread worker_;
};

}  // namespace planimo
