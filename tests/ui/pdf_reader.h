#pragma once

// Reads a PDF back the way a user would see it: poppler's pdfinfo for the
// page count and size, pdftoppm for the rendered pages (no smoothing, so a
// line keeps its device pixels).

#include <QDir>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QSizeF>
#include <QString>
#include <vector>

namespace planimo::pdf_reader {

inline QString Info(const QString& pdf) {
  QProcess p;
  p.start(QStringLiteral("pdfinfo"), {pdf});
  p.waitForFinished(30000);
  return QString::fromUtf8(p.readAllStandardOutput());
}

inline int Pages(const QString& pdf) {
  const QRegularExpressionMatch m = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(Info(pdf));
  return m.hasMatch() ? m.captured(1).toInt() : -1;
}

// Page size in points.
inline QSizeF PageSize(const QString& pdf) {
  const QRegularExpressionMatch m =
      QRegularExpression(QStringLiteral("Page size:\\s+([\\d.]+) x ([\\d.]+) pts")).match(Info(pdf));
  return m.hasMatch() ? QSizeF(m.captured(1).toDouble(), m.captured(2).toDouble()) : QSizeF();
}

// Every page rendered at `dpi`, in order.
inline std::vector<QImage> Render(const QString& pdf, int dpi, const QString& workDir) {
  const QString prefix = QDir(workDir).filePath(QStringLiteral("page"));
  QProcess p;
  p.start(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QString::number(dpi), QStringLiteral("-aa"),
                                       QStringLiteral("no"), QStringLiteral("-aaVector"), QStringLiteral("no"),
                                       QStringLiteral("-png"), pdf, prefix});
  p.waitForFinished(60000);
  std::vector<QImage> pages;
  const QStringList files = QDir(workDir).entryList({QStringLiteral("page-*.png")}, QDir::Files, QDir::Name);
  for (const QString& f : files) {
    pages.push_back(QImage(QDir(workDir).filePath(f)).convertToFormat(QImage::Format_RGB32));
    QFile::remove(QDir(workDir).filePath(f));
  }
  return pages;
}

}  // namespace planimo::pdf_reader
