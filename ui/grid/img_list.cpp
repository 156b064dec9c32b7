#include "grid/img_list.h"

#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QtMath>
#include <functional>

namespace tally::ui {
namespace {

// All pictures are drawn on a 20 by 20 canvas; kMid is its centre.
constexpr double kMid = ImgList::kSize / 2.0;

void Disc(QPainter& p, double radius, QColor light, QColor dark, QColor rim) {
    // The light spot sits up and left of the centre, as if lit from the top left.
    QRadialGradient fill(kMid - radius / 3, kMid - radius / 3, radius * 1.4);
    fill.setColorAt(0, light);
    fill.setColorAt(1, dark);
    p.setPen(QPen(rim, 1));
    p.setBrush(fill);
    p.drawEllipse(QPointF(kMid, kMid), radius, radius);
}

void GreenDisc(QPainter& p) {
    Disc(p, 9.2, QColor(0x8f, 0xe0, 0x6a), QColor(0x2b, 0x86, 0x1f), QColor(0x1d, 0x5e, 0x15));
}

// The dark round badge that carries a class emblem.
void Badge(QPainter& p) {
    Disc(p, 9.2, QColor(0x5a, 0x5a, 0x66), QColor(0x16, 0x16, 0x1c), QColor(0x08, 0x08, 0x0a));
}

void FillPath(QPainter& p, const QPainterPath& path, QColor fill, QColor outline, double width = 0.8) {
    p.setPen(QPen(outline, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(fill);
    p.drawPath(path);
}

QPainterPath Polygon(std::initializer_list<QPointF> points) {
    QPainterPath path;
    path.addPolygon(QPolygonF(points));
    path.closeSubpath();
    return path;
}

// A blade pointing up along the vertical centre line, with guard and grip.
QPainterPath Sword(double top, double guardY, double halfWidth) {
    QPainterPath path = Polygon({{kMid, top},
                                 {kMid + halfWidth, top + 2.5},
                                 {kMid + halfWidth, guardY},
                                 {kMid - halfWidth, guardY},
                                 {kMid - halfWidth, top + 2.5}});
    path.addRect(QRectF(kMid - 3.2, guardY, 6.4, 1.4));
    path.addRect(QRectF(kMid - 0.7, guardY + 1.4, 1.4, 2.4));
    return path.simplified();
}

QPainterPath Star(int points, double outer, double inner) {
    QPolygonF polygon;
    for (int i = 0; i < points * 2; ++i) {
        const double radius = i % 2 == 0 ? outer : inner;
        const double angle = -M_PI / 2 + i * M_PI / points;  // the first point straight up
        polygon << QPointF(kMid + radius * std::cos(angle), kMid + radius * std::sin(angle));
    }
    QPainterPath path;
    path.addPolygon(polygon);
    path.closeSubpath();
    return path;
}

const QColor kBlue(0x4d, 0xa6, 0xff);
const QColor kBlueEdge(0xb8, 0xdc, 0xff);
const QColor kGreen(0x62, 0xd6, 0x5a);
const QColor kGreenEdge(0xc4, 0xf5, 0xbe);
const QColor kPurple(0xb4, 0x6c, 0xff);
const QColor kPurpleEdge(0xe2, 0xc6, 0xff);
const QColor kPale(0xd9, 0xd9, 0xde);
const QColor kPaleEdge(0x8a, 0x8a, 0x94);
const QColor kOrange(0xff, 0x66, 0x2e);
const QColor kOrangeEdge(0xff, 0xc8, 0xa0);
const QColor kInk(0x20, 0x20, 0x26);

void Question(QPainter& p) {
    GreenDisc(p);
    QPainterPath hook;
    hook.moveTo(7.1, 8.0);
    hook.cubicTo(7.1, 4.4, 12.9, 4.4, 12.9, 8.0);
    hook.cubicTo(12.9, 10.3, 10.0, 10.2, 10.0, 12.6);
    p.setPen(QPen(Qt::white, 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(hook);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(10.0, 15.4), 1.35, 1.35);
}

void Blade(QPainter& p) {
    Badge(p);
    FillPath(p, Sword(3.2, 12.4, 1.5), kBlue, kBlueEdge);
}

void Shield(QPainter& p) {
    Badge(p);
    QPainterPath shield;
    shield.moveTo(10, 3.6);
    shield.lineTo(15.2, 5.5);
    shield.lineTo(15.2, 9.4);
    shield.cubicTo(15.2, 13.0, 12.6, 15.3, 10, 16.6);
    shield.cubicTo(7.4, 15.3, 4.8, 13.0, 4.8, 9.4);
    shield.lineTo(4.8, 5.5);
    shield.closeSubpath();
    FillPath(p, shield, kBlue, kBlueEdge);
    p.setPen(QPen(kBlueEdge, 1.0));
    p.drawLine(QPointF(10, 5.2), QPointF(10, 14.8));
}

void CrossedBlades(QPainter& p) {
    Badge(p);
    for (const double angle : {-40.0, 40.0}) {
        p.save();
        p.translate(kMid, kMid);
        p.rotate(angle);
        p.translate(-kMid, -kMid);
        FillPath(p, Sword(3.0, 12.6, 1.1), kGreen, kGreenEdge, 0.6);
        p.restore();
    }
}

void WingedSign(QPainter& p) {
    Badge(p);
    QPainterPath wing;
    wing.moveTo(9.0, 10.6);
    wing.cubicTo(7.4, 6.6, 4.8, 5.6, 3.4, 5.4);
    wing.cubicTo(3.8, 8.6, 5.4, 12.2, 9.0, 12.4);
    wing.closeSubpath();
    QTransform mirror;
    mirror.translate(ImgList::kSize, 0);
    mirror.scale(-1, 1);
    QPainterPath sign = wing.united(mirror.map(wing));
    sign.addEllipse(QPointF(kMid, 12.0), 1.9, 1.9);
    sign.addRect(QRectF(kMid - 0.7, 13.5, 1.4, 3.0));
    FillPath(p, sign.simplified(), kGreen, kGreenEdge, 0.6);
}

void PurpleStar(QPainter& p) {
    Badge(p);
    FillPath(p, Star(5, 6.4, 2.6), kPurple, kPurpleEdge);
}

void PurpleCrescent(QPainter& p) {
    Badge(p);
    QPainterPath moon;
    moon.addEllipse(QPointF(kMid, kMid), 5.8, 5.8);
    QPainterPath bite;
    bite.addEllipse(QPointF(kMid + 2.6, kMid - 1.6), 4.8, 4.8);
    FillPath(p, moon.subtracted(bite), kPurple, kPurpleEdge);
    p.setPen(Qt::NoPen);
    p.setBrush(kPurpleEdge);
    p.drawEllipse(QPointF(13.4, 12.6), 1.1, 1.1);
}

void SmilingFace(QPainter& p) {
    Badge(p);
    p.setPen(QPen(kPaleEdge, 0.8));
    p.setBrush(kPale);
    p.drawEllipse(QPointF(kMid, kMid), 6.0, 6.4);
    p.setPen(Qt::NoPen);
    p.setBrush(kInk);
    p.drawEllipse(QPointF(7.8, 8.6), 1.0, 1.2);
    p.drawEllipse(QPointF(12.2, 8.6), 1.0, 1.2);
    p.setPen(QPen(kInk, 1.1, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(7.0, 9.0, 6.0, 4.6), 200 * 16, 140 * 16);
}

void MaskFace(QPainter& p) {
    Badge(p);
    QPainterPath mask;
    mask.moveTo(4.6, 5.6);
    mask.cubicTo(8.0, 4.2, 12.0, 4.2, 15.4, 5.6);
    mask.cubicTo(15.6, 11.5, 13.0, 16.4, 10.0, 16.6);
    mask.cubicTo(7.0, 16.4, 4.4, 11.5, 4.6, 5.6);
    FillPath(p, mask, kPale, kPaleEdge);
    p.setPen(QPen(kInk, 1.3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(6.6, 8.8), QPointF(8.8, 9.4));
    p.drawLine(QPointF(13.4, 8.8), QPointF(11.2, 9.4));
    p.drawLine(QPointF(8.4, 13.4), QPointF(11.6, 13.4));
}

void Swirl(QPainter& p) {
    Badge(p);
    QPainterPath spiral;
    const double turns = 2.4;
    const int steps = 60;
    for (int i = 0; i <= steps; ++i) {
        const double t = turns * 2 * M_PI * i / steps;
        const double radius = 0.6 + 5.4 * i / steps;
        const QPointF point(kMid + radius * std::cos(t), kMid + radius * std::sin(t));
        if (i == 0)
            spiral.moveTo(point);
        else
            spiral.lineTo(point);
    }
    p.setPen(QPen(kPurple, 1.7, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(spiral);
}

void Bolt(QPainter& p) {
    Badge(p);
    FillPath(
        p,
        Polygon({{11.6, 3.2}, {6.0, 10.8}, {9.6, 10.8}, {8.2, 16.8}, {14.0, 8.8}, {10.4, 8.8}, {11.6, 3.2}}),
        kOrange, kOrangeEdge, 0.7);
}

void Sun(QPainter& p) {
    Badge(p);
    FillPath(p, Star(8, 6.6, 3.4), kOrange, kOrangeEdge, 0.7);
    p.setPen(Qt::NoPen);
    p.setBrush(kOrangeEdge);
    p.drawEllipse(QPointF(kMid, kMid), 1.8, 1.8);
}

void SummonPlus(QPainter& p) {
    QPainterPath plus;
    plus.addRect(QRectF(1.5, 7.2, 17.0, 5.6));
    plus.addRect(QRectF(7.2, 1.5, 5.6, 17.0));
    QLinearGradient fill(0, 0, 0, ImgList::kSize);
    fill.setColorAt(0, QColor(0x8c, 0xe8, 0x7c));
    fill.setColorAt(1, QColor(0x25, 0x93, 0x25));
    p.setPen(QPen(QColor(0x1a, 0x62, 0x1a), 1.0, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    p.setBrush(fill);
    p.drawPath(plus.simplified());
}

void Sheets(QPainter& p) {
    const QColor edge(0x6e, 0x6e, 0x78);
    const QColor line(0xa0, 0xa6, 0xb4);
    for (const QPointF& corner : {QPointF(2.5, 1.5), QPointF(7.5, 5.5)}) {
        const QRectF sheet(corner, QSizeF(10.0, 13.0));
        p.setPen(QPen(edge, 1.0));
        p.setBrush(Qt::white);
        p.drawRect(sheet);
        p.setPen(QPen(line, 1.0));
        for (double y = sheet.top() + 3.0; y < sheet.bottom() - 1.5; y += 2.5)
            p.drawLine(QPointF(sheet.left() + 2.0, y), QPointF(sheet.right() - 2.0, y));
    }
}

void NoEntry(QPainter& p) {
    const QColor red(0xe0, 0x1e, 0x1e);
    p.setPen(QPen(red, 2.6));
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(kMid, kMid), 7.6, 7.6);
    // The bar runs from the upper left to the lower right, ending on the ring.
    const double reach = 7.6 / std::sqrt(2.0);
    p.setPen(QPen(red, 2.6, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(QPointF(kMid - reach, kMid - reach), QPointF(kMid + reach, kMid + reach));
}

void OpenFolder(QPainter& p) {
    const QColor edge(0x96, 0x6c, 0x00);
    FillPath(p, Polygon({{1.5, 4.5}, {7.0, 4.5}, {8.6, 6.2}, {16.5, 6.2}, {16.5, 16.5}, {1.5, 16.5}}),
             QColor(0xe0, 0xa4, 0x10), edge);
    FillPath(p, Polygon({{4.6, 9.0}, {19.0, 9.0}, {16.5, 16.5}, {1.5, 16.5}}), QColor(0xff, 0xd8, 0x4c),
             edge);
}

void Calculate(QPainter& p) {
    GreenDisc(p);
    FillPath(p, Polygon({{7.6, 5.2}, {15.2, 10.0}, {7.6, 14.8}}), QColor(0x1c, 0x26, 0x1c),
             QColor(0x1c, 0x26, 0x1c), 0.6);
}

void Gear(QPainter& p) {
    const int teeth = 8;
    QPolygonF outline;
    for (int i = 0; i < teeth * 4; ++i) {
        // Each tooth is a flat top between two flanks: top, top, root, root.
        const double radius = (i % 4 < 2) ? 8.8 : 6.6;
        const double angle = 2 * M_PI * (i - 0.5) / (teeth * 4);
        outline << QPointF(kMid + radius * std::cos(angle), kMid + radius * std::sin(angle));
    }
    QPainterPath gear;
    gear.addPolygon(outline);
    gear.closeSubpath();
    QPainterPath hole;
    hole.addEllipse(QPointF(kMid, kMid), 2.7, 2.7);
    QLinearGradient fill(0, 0, ImgList::kSize, ImgList::kSize);
    fill.setColorAt(0, QColor(0xc8, 0xc8, 0xcc));
    fill.setColorAt(1, QColor(0x74, 0x74, 0x7a));
    p.setPen(QPen(QColor(0x4a, 0x4a, 0x50), 0.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(fill);
    p.drawPath(gear.subtracted(hole));
}

QPixmap Draw(const std::function<void(QPainter&)>& picture) {
    QImage image(ImgList::kSize, ImgList::kSize, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    picture(painter);
    painter.end();
    return QPixmap::fromImage(image);
}

}  // namespace

ImgList::ImgList() {
    const std::array<void (*)(QPainter&), kCount> pictures = {
        Question, Blade, Shield, CrossedBlades, WingedSign, PurpleStar, PurpleCrescent, SmilingFace, MaskFace,
        Swirl,    Bolt,  Sun,    SummonPlus,    Sheets,     NoEntry,    OpenFolder,     Calculate,   Gear};
    for (int i = 0; i < kCount; ++i) {
        pixmaps_[i] = Draw(pictures[i]);
        icons_[i] = QIcon(pixmaps_[i]);
    }
}

QPixmap ImgList::pixmap(int index) const {
    return Has(index) ? pixmaps_[index] : QPixmap();
}

QIcon ImgList::icon(int index) const {
    return Has(index) ? icons_[index] : QIcon();
}

}  // namespace tally::ui
