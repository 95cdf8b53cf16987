// Renders the bundled sample site plan (samples/site_plan.jpg) and prints the
// values written on it, so the drawing and its documentation cannot drift apart.
//
// Usage: make_sample <output.jpg>
#include "site_plan.h"

#include <QtCore/QString>
#include <QtCore/QStringList>
#include <QtGui/QFont>
#include <QtGui/QFontInfo>
#include <QtGui/QGuiApplication>
#include <QtGui/QImage>
#include <QtGui/QPainter>
#include <QtGui/QPainterPath>

#include <cmath>
#include <cstdio>
#include <numbers>

namespace {

using namespace sample;

const QString kFamily = QStringLiteral("IPAPGothic");
constexpr double kPi = std::numbers::pi;

QPointF pt(Px p) { return QPointF(p.x, p.y); }

QString m2(double v) { return QString::number(v, 'f', 2); }

QFont font(int pixelSize, bool bold = false) {
    QFont f(kFamily);
    f.setPixelSize(pixelSize);
    f.setBold(bold);
    f.setStyleStrategy(QFont::PreferAntialias);
    return f;
}

// Degrees, minutes and seconds as a surveyor writes them.
QString dms(double seconds) {
    const int deg = int(seconds / 3600);
    const int min = int((seconds - deg * 3600.0) / 60);
    const double sec = seconds - deg * 3600.0 - min * 60.0;
    return QStringLiteral("%1°%2′%3″").arg(deg).arg(min, 2, 10, QLatin1Char('0')).arg(sec, 7, 'f', 4, QLatin1Char('0'));
}

void centredText(QPainter& p, QPointF c, const QString& text, int flags = Qt::AlignCenter) {
    p.drawText(QRectF(c.x() - 600, c.y() - 100, 1200, 200), flags, text);
}

// Text centred at c along the direction angleDeg, always kept upright.
void textAlong(QPainter& p, QPointF c, double angleDeg, const QString& text) {
    // Vertical text reads from the bottom up, as on paper drawings.
    while (angleDeg > 89.999) angleDeg -= 180;
    while (angleDeg < -90.001) angleDeg += 180;
    p.save();
    p.translate(c);
    p.rotate(angleDeg);
    centredText(p, QPointF(0, 0), text);
    p.restore();
}

void arrowHead(QPainter& p, QPointF tip, QPointF from, double size) {
    const QPointF d = tip - from;
    const double len = std::hypot(d.x(), d.y());
    const QPointF u = d / len;
    const QPointF n(-u.y(), u.x());
    const QPointF base = tip - u * size;
    p.drawPolygon(QPolygonF{tip, base + n * size * 0.3, base - n * size * 0.3});
}

// A dimension: extension lines from the measured points a, b out by the offset,
// the dimension line between them with arrows, the value written on its outer side.
void dimension(QPainter& p, QPointF a, QPointF b, QPointF offset, const QString& text) {
    const double olen = std::hypot(offset.x(), offset.y());
    const QPointF on = offset / olen;
    const QPointF a2 = a + offset;
    const QPointF b2 = b + offset;
    p.setPen(QPen(QColor(20, 60, 150), 2));
    p.setBrush(QColor(20, 60, 150));
    p.drawLine(a + on * 8, a2 + on * 14);
    p.drawLine(b + on * 8, b2 + on * 14);
    p.drawLine(a2, b2);
    arrowHead(p, a2, b2, 22);
    arrowHead(p, b2, a2, 22);
    p.setFont(font(30, true));
    const QPointF d = b2 - a2;
    textAlong(p, (a2 + b2) / 2 + on * 22, std::atan2(d.y(), d.x()) * 180 / kPi, text);
}

void drawFrame(QPainter& p) {
    p.fillRect(QRect(0, 0, kWidth, kHeight), Qt::white);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Qt::black, 4));
    p.drawRect(20, 20, kWidth - 40, kHeight - 40);
    p.setPen(QPen(Qt::black, 1));
    p.drawRect(30, 30, kWidth - 60, kHeight - 60);
    p.setPen(QPen(Qt::black, 2));
    p.drawLine(1900, 30, 1900, kHeight - 30);
}

void drawRoad(QPainter& p) {
    const int top = kBoundary[0].y;
    const QRect road(31, top, 1900 - 31, kRoadWidthPx);
    p.fillRect(road, QColor(225, 225, 225));
    p.setPen(QPen(Qt::black, 3));
    p.drawLine(31, top + kRoadWidthPx, 1899, top + kRoadWidthPx);
    p.setPen(QPen(QColor(90, 90, 90), 2, Qt::DashLine));
    p.drawLine(31, top, 1899, top);
    p.setPen(Qt::black);
    p.setFont(font(36, true));
    centredText(p, QPointF(760, top + kRoadWidthPx / 2.0), QStringLiteral("前面道路（幅員 %1 m）").arg(m2(metres(kRoadWidthPx))));
}

void drawPlot(QPainter& p) {
    QPolygonF poly;
    for (const Px v : kBoundary) poly << pt(v);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(252, 250, 236));
    p.drawPolygon(poly);
    p.setPen(QPen(QColor(170, 20, 20), 5, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPolygon(poly);

    QPointF centre(0, 0);
    for (const Px v : kBoundary) centre += pt(v);
    centre /= double(kBoundary.size());

    // Side lengths written inside the plot, parallel to each side.
    p.setFont(font(32, true));
    p.setPen(QColor(170, 20, 20));
    for (std::size_t i = 0; i < kBoundary.size(); ++i) {
        const QPointF a = pt(kBoundary[i]);
        const QPointF b = pt(kBoundary[(i + 1) % kBoundary.size()]);
        const QPointF mid = (a + b) / 2;
        const QPointF d = b - a;
        QPointF n(-d.y(), d.x());
        n /= std::hypot(n.x(), n.y());
        const QPointF toCentre = centre - mid;
        if (n.x() * toCentre.x() + n.y() * toCentre.y() < 0) n = -n;
        const double len = metres(lengthPx(kBoundary[i], kBoundary[(i + 1) % kBoundary.size()]));
        textAlong(p, mid + n * 30, std::atan2(d.y(), d.x()) * 180 / kPi, m2(len) + QStringLiteral(" m"));
    }

    // Boundary marks with their names, set outwards from the plot.
    for (std::size_t i = 0; i < kBoundary.size(); ++i) {
        const QPointF v = pt(kBoundary[i]);
        p.setPen(QPen(QColor(170, 20, 20), 3));
        p.setBrush(Qt::white);
        p.drawEllipse(v, 11, 11);
        p.drawLine(v - QPointF(11, 0), v + QPointF(11, 0));
        p.drawLine(v - QPointF(0, 11), v + QPointF(0, 11));
        QPointF out = v - centre;
        out /= std::hypot(out.x(), out.y());
        p.setPen(Qt::black);
        p.setFont(font(28, true));
        centredText(p, v + out * 48, QStringLiteral("No.%1").arg(i + 1));
    }
}

void drawBuilding(QPainter& p) {
    const QRectF r(pt(kBuildingTopLeft), pt(kBuildingBottomRight));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(235, 235, 240));
    p.drawRect(r);
    p.setBrush(QBrush(QColor(160, 160, 175), Qt::BDiagPattern));
    p.drawRect(r);
    p.setPen(QPen(Qt::black, 5, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    p.setBrush(Qt::NoBrush);
    p.drawRect(r);

    const double w = metres(r.width());
    const double d = metres(r.height());
    p.setPen(Qt::black);
    p.setFont(font(44, true));
    QRectF box(r.center() - QPointF(210, 80), QSizeF(420, 160));
    p.fillRect(box, QColor(255, 255, 255, 225));
    p.drawText(box.adjusted(0, 8, 0, -80), Qt::AlignCenter, QStringLiteral("計画建物"));
    p.setFont(font(30));
    p.drawText(box.adjusted(0, 70, 0, -40), Qt::AlignCenter, QStringLiteral("木造 2 階建"));
    p.drawText(box.adjusted(0, 110, 0, 0), Qt::AlignCenter, QStringLiteral("建築面積 %1 m²").arg(m2(w * d)));

    dimension(p, r.topLeft(), r.topRight(), QPointF(0, -60), m2(w) + QStringLiteral(" m"));
    dimension(p, r.bottomLeft(), r.topLeft(), QPointF(-60, 0), m2(d) + QStringLiteral(" m"));

    // Set-backs from the west and south boundaries.
    const QPointF west(kBoundary[0].x, r.bottom() - 70);
    dimension(p, west, QPointF(r.left(), west.y()), QPointF(0, 0.001), m2(metres(r.left() - west.x())) + QStringLiteral(" m"));
    const QPointF south(r.left() + 180, kBoundary[0].y);
    dimension(p, QPointF(south.x(), r.bottom()), south, QPointF(0.001, 0), m2(metres(south.y() - r.bottom())) + QStringLiteral(" m"));
}

void drawRoute(QPainter& p) {
    QPainterPath path(pt(kRoute[0]));
    for (std::size_t i = 1; i < kRoute.size(); ++i) path.lineTo(pt(kRoute[i]));
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(222, 205, 170), 120, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
    p.drawPath(path);
    p.setPen(QPen(QColor(200, 110, 0), 3, Qt::DashDotLine, Qt::FlatCap, Qt::MiterJoin));
    p.drawPath(path);
    p.setPen(QPen(QColor(200, 110, 0), 3));
    p.setBrush(Qt::white);
    for (const Px v : kRoute) p.drawEllipse(pt(v), 8, 8);

    p.setPen(QColor(150, 70, 0));
    p.setFont(font(30, true));
    const QPointF at(1690, 1300);
    centredText(p, at, QStringLiteral("通路中心線"));
    centredText(p, at + QPointF(0, 40), QStringLiteral("延長 %1 m").arg(m2(metres(polylineLengthPx(kRoute)))));
}

void drawPlantingBed(QPainter& p) {
    const QPointF c = pt(kBedCentre);
    const double r = kBedRadiusPx;
    p.setPen(QPen(QColor(30, 110, 40), 4));
    p.setBrush(QColor(200, 232, 195));
    p.drawEllipse(c, r, r);
    // A tree crown drawn as a ring of small lobes around the centre.
    p.setPen(QPen(QColor(60, 140, 60), 2));
    p.setBrush(QColor(150, 205, 140));
    for (int i = 0; i < 8; ++i) {
        const double a = i * kPi / 4;
        p.drawEllipse(c + QPointF(std::cos(a), std::sin(a)) * 45, 26, 26);
    }
    p.setPen(QPen(Qt::black, 2));
    p.drawLine(c - QPointF(16, 0), c + QPointF(16, 0));
    p.drawLine(c - QPointF(0, 16), c + QPointF(0, 16));

    // Radius drawn straight up from the centre.
    const QPointF top = c - QPointF(0, r);
    p.setPen(QPen(QColor(20, 60, 150), 3));
    p.setBrush(QColor(20, 60, 150));
    p.drawLine(c, top);
    arrowHead(p, top, c, 24);
    p.setFont(font(30, true));
    const QString label = QStringLiteral("R = %1 m").arg(m2(metres(r)));
    QRectF box(c + QPointF(14, -r + 18), QSizeF(170, 40));
    p.fillRect(box, QColor(255, 255, 255, 230));
    p.drawText(box, Qt::AlignCenter, label);
    p.setPen(QColor(30, 110, 40));
    centredText(p, c + QPointF(0, r + 30), QStringLiteral("円形花壇（シンボルツリー）"));
}

void drawPlotArea(QPainter& p) {
    const double area = polygonAreaPx(kBoundary) / (kPxPerMetre * kPxPerMetre);
    const QRectF box(300, 340, 560, 130);
    p.setPen(QPen(QColor(170, 20, 20), 2));
    p.setBrush(Qt::white);
    p.drawRect(box);
    p.setPen(Qt::black);
    p.setFont(font(44, true));
    p.drawText(box.adjusted(0, 6, 0, -56), Qt::AlignCenter, QStringLiteral("敷地面積 %1 m²").arg(m2(area)));
    p.setFont(font(26));
    p.drawText(box.adjusted(0, 74, 0, -6), Qt::AlignCenter, QStringLiteral("（境界点 No.1〜No.5 による座標求積）"));
}

void drawNorthArrow(QPainter& p) {
    const QPointF c(2185, 270);
    p.setPen(QPen(Qt::black, 3));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(c, 110, 110);
    const QPointF tip = c - QPointF(0, 150);
    const QPointF tail = c + QPointF(0, 120);
    p.setBrush(Qt::black);
    p.drawPolygon(QPolygonF{tip, c + QPointF(40, 60), c, tail});
    p.setBrush(Qt::white);
    p.drawPolygon(QPolygonF{tip, c + QPointF(-40, 60), c, tail});
    p.setPen(Qt::black);
    p.setFont(font(56, true));
    centredText(p, c + QPointF(0, -200), QStringLiteral("N"));
}

void drawTable(QPainter& p, double top, const QString& title, const QStringList& header,
               const QList<QStringList>& rows, const QList<int>& widths) {
    const double left = 1930;
    const double rowH = 40;
    p.setPen(Qt::black);
    p.setFont(font(28, true));
    p.drawText(QRectF(left, top, 520, rowH), Qt::AlignLeft | Qt::AlignVCenter, title);
    QList<QStringList> all{header};
    all += rows;
    for (int r = 0; r < all.size(); ++r) {
        double x = left;
        const double y = top + rowH * (r + 1);
        p.setFont(font(24, r == 0));
        for (int c = 0; c < widths.size(); ++c) {
            const QRectF cell(x, y, widths[c], rowH);
            p.setPen(QPen(Qt::black, 1));
            p.setBrush(r == 0 ? QColor(235, 235, 235) : QColor(Qt::white));
            p.drawRect(cell);
            p.drawText(cell.adjusted(6, 0, -6, 0), (c == 0 || r == 0) ? Qt::AlignCenter : (Qt::AlignRight | Qt::AlignVCenter), all[r][c]);
            x += widths[c];
        }
    }
}

void drawCoordinateTables(QPainter& p) {
    QList<QStringList> rows;
    for (std::size_t i = 0; i < kBoundary.size(); ++i) {
        const double x = metres(kBoundary[0].y - kBoundary[i].y);
        const double y = metres(kBoundary[i].x - kBoundary[0].x);
        rows << QStringList{QStringLiteral("No.%1").arg(i + 1), m2(x), m2(y)};
    }
    drawTable(p, 450, QStringLiteral("境界点座標（No.1 原点, m）"), {QStringLiteral("点名"), QStringLiteral("X（北）"), QStringLiteral("Y（東）")},
              rows, {120, 200, 200});

    QList<QStringList> geo;
    for (const std::size_t i : {std::size_t(0), std::size_t(2)}) {
        const LatLong g = positionOf(kBoundary[i]);
        geo << QStringList{QStringLiteral("No.%1").arg(i + 1), dms(g.longitudeSec), dms(g.latitudeSec)};
    }
    drawTable(p, 760, QStringLiteral("既知の経緯度"), {QStringLiteral("点名"), QStringLiteral("東経"), QStringLiteral("北緯")}, geo, {100, 210, 210});
}

void drawLegend(QPainter& p) {
    const double left = 1930;
    double y = 960;
    p.setPen(Qt::black);
    p.setFont(font(28, true));
    p.drawText(QRectF(left, y, 400, 40), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("凡例"));
    p.setFont(font(26));
    const auto row = [&](const QString& text, auto&& symbol) {
        y += 44;
        symbol(QRectF(left + 10, y + 6, 110, 28));
        p.setPen(Qt::black);
        p.drawText(QRectF(left + 140, y, 380, 40), Qt::AlignLeft | Qt::AlignVCenter, text);
    };
    row(QStringLiteral("敷地境界線・境界点"), [&](QRectF s) {
        p.setPen(QPen(QColor(170, 20, 20), 5));
        p.drawLine(s.left(), s.center().y(), s.right(), s.center().y());
    });
    row(QStringLiteral("計画建物"), [&](QRectF s) {
        p.setPen(QPen(Qt::black, 3));
        p.setBrush(QBrush(QColor(160, 160, 175), Qt::BDiagPattern));
        p.drawRect(s);
    });
    row(QStringLiteral("通路・通路中心線"), [&](QRectF s) {
        p.fillRect(s, QColor(222, 205, 170));
        p.setPen(QPen(QColor(200, 110, 0), 3, Qt::DashDotLine));
        p.drawLine(s.left(), s.center().y(), s.right(), s.center().y());
    });
    row(QStringLiteral("植栽"), [&](QRectF s) {
        p.setPen(QPen(QColor(30, 110, 40), 3));
        p.setBrush(QColor(200, 232, 195));
        p.drawEllipse(s.center(), 14, 14);
    });
    row(QStringLiteral("寸法線"), [&](QRectF s) {
        p.setPen(QPen(QColor(20, 60, 150), 2));
        p.setBrush(QColor(20, 60, 150));
        p.drawLine(s.left(), s.center().y(), s.right(), s.center().y());
        arrowHead(p, QPointF(s.left(), s.center().y()), s.center(), 16);
        arrowHead(p, QPointF(s.right(), s.center().y()), s.center(), 16);
    });
}

void drawScaleBar(QPainter& p) {
    const double x0 = kScaleBarOrigin.x;
    const double y0 = kScaleBarOrigin.y;
    const double block = 5 * kPxPerMetre;
    const int blocks = kScaleBarMetres / 5;
    p.setPen(QPen(Qt::black, 2));
    for (int i = 0; i < blocks; ++i) {
        p.setBrush(i % 2 == 0 ? QColor(Qt::black) : QColor(Qt::white));
        p.drawRect(QRectF(x0 + i * block, y0 - 10, block, 20));
    }
    p.setFont(font(28, true));
    for (int i = 0; i <= blocks; ++i) {
        const QString t = QString::number(i * 5) + (i == blocks ? QStringLiteral(" m") : QString());
        centredText(p, QPointF(x0 + i * block + (i == blocks ? 14 : 0), y0 - 36), t);
    }
    p.drawText(QRectF(60, y0 - 22, 160, 44), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("縮尺"));
}

void drawTitleBlock(QPainter& p) {
    const double area = polygonAreaPx(kBoundary) / (kPxPerMetre * kPxPerMetre);
    const QRectF box(1920, 1300, 540, 460);
    p.setPen(QPen(Qt::black, 3));
    p.setBrush(Qt::white);
    p.drawRect(box);
    p.setFont(font(72, true));
    p.drawText(QRectF(box.left(), box.top(), box.width(), 110), Qt::AlignCenter, QStringLiteral("配 置 図"));
    const QList<QPair<QString, QString>> rows{
        {QStringLiteral("件名"), QStringLiteral("（仮称）見本邸新築工事")},
        {QStringLiteral("所在地"), QStringLiteral("見本市中央町一丁目12番3")},
        {QStringLiteral("敷地面積"), QStringLiteral("%1 m²").arg(m2(area))},
        {QStringLiteral("縮尺"), QStringLiteral("図示（1 m = 40 px）")},
        {QStringLiteral("作成日"), QStringLiteral("令和6年4月1日")},
        {QStringLiteral("図番"), QStringLiteral("A-01　Planimo 見本")},
    };
    double y = box.top() + 110;
    const double rowH = (box.bottom() - y) / rows.size();
    for (const auto& [key, value] : rows) {
        p.setPen(QPen(Qt::black, 1));
        p.drawLine(QPointF(box.left(), y), QPointF(box.right(), y));
        p.drawLine(QPointF(box.left() + 140, y), QPointF(box.left() + 140, y + rowH));
        p.setFont(font(26, true));
        p.drawText(QRectF(box.left(), y, 140, rowH), Qt::AlignCenter, key);
        p.setFont(font(28));
        p.drawText(QRectF(box.left() + 156, y, box.width() - 160, rowH), Qt::AlignLeft | Qt::AlignVCenter, value);
        y += rowH;
    }
}

void printValues() {
    const auto px = [](Px v) { return QStringLiteral("(%1,%2)").arg(v.x).arg(v.y); };
    QStringList out;
    for (std::size_t i = 0; i < kBoundary.size(); ++i) {
        const Px a = kBoundary[i];
        const Px b = kBoundary[(i + 1) % kBoundary.size()];
        out << QStringLiteral("side No.%1-No.%2: %3-%4 px, %5 px, %6 m").arg(i + 1).arg((i + 1) % kBoundary.size() + 1)
                   .arg(px(a), px(b), QString::number(lengthPx(a, b)), m2(metres(lengthPx(a, b))));
    }
    out << QStringLiteral("plot area: %1 px2, %2 m2").arg(polygonAreaPx(kBoundary), 0, 'f', 0).arg(m2(polygonAreaPx(kBoundary) / 1600));
    out << QStringLiteral("route length: %1 px, %2 m").arg(polylineLengthPx(kRoute)).arg(m2(metres(polylineLengthPx(kRoute))));
    for (const std::size_t i : {std::size_t(0), std::size_t(2)}) {
        const LatLong g = positionOf(kBoundary[i]);
        out << QStringLiteral("No.%1: lon %2 (%3 s), lat %4 (%5 s)").arg(i + 1).arg(dms(g.longitudeSec)).arg(g.longitudeSec, 0, 'f', 4)
                   .arg(dms(g.latitudeSec)).arg(g.latitudeSec, 0, 'f', 4);
    }
    std::printf("%s\n", out.join(QLatin1Char('\n')).toUtf8().constData());
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_sample <output.jpg>\n");
        return 2;
    }
    if (QFontInfo(font(20)).family() != kFamily) {
        std::fprintf(stderr, "font %s not found (install fonts-ipafont-gothic)\n", qPrintable(kFamily));
        return 1;
    }

    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    {
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        p.setRenderHint(QPainter::TextAntialiasing);
        drawFrame(p);
        drawRoad(p);
        drawPlot(p);
        drawRoute(p);
        drawBuilding(p);
        drawPlantingBed(p);
        drawPlotArea(p);
        drawNorthArrow(p);
        drawCoordinateTables(p);
        drawLegend(p);
        drawScaleBar(p);
        drawTitleBlock(p);
    }
    if (!image.save(QString::fromLocal8Bit(argv[1]), "JPG", 90)) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    printValues();
    return 0;
}
