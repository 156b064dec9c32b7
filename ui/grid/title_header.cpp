#include "grid/title_header.h"

#include <QPainter>
#include <QStyleOptionHeader>
#include <algorithm>

#include "grid/header_marker.h"

namespace tally::ui {
namespace {

constexpr QChar kLevelSeparator = u'|';

}  // namespace

TitleHeader::TitleHeader(QWidget* parent) : QHeaderView(Qt::Horizontal, parent) {
    setSectionsClickable(true);
    setHighlightSections(false);
    // The marker is drawn from this header's own state: QHeaderView's indicator would turn round on
    // every click, while a title here always sorts one way.
    setSortIndicatorShown(false);
    setDefaultAlignment(Qt::AlignCenter);
}

void TitleHeader::setMarker(int logical, Qt::SortOrder order) {
    markerColumn_ = logical;
    markerOrder_ = order;
    viewport()->update();
}

void TitleHeader::clearMarker() {
    setMarker(-1, Qt::DescendingOrder);
}

void TitleHeader::setVerticalTitle(int logical, bool vertical) {
    verticalTitles_.removeAll(logical);
    if (vertical)
        verticalTitles_.append(logical);
    updateGeometry();
    viewport()->update();
}

bool TitleHeader::isVerticalTitle(int logical) const {
    return verticalTitles_.contains(logical);
}

QString TitleHeader::title(int logical) const {
    return model() ? model()->headerData(logical, orientation(), Qt::DisplayRole).toString() : QString();
}

QString TitleHeader::upperTitle(int logical) const {
    const QString text = title(logical);
    const qsizetype bar = text.indexOf(kLevelSeparator);
    return bar < 0 ? QString() : text.left(bar);
}

QString TitleHeader::lowerTitle(int logical) const {
    const QString text = title(logical);
    return text.mid(text.indexOf(kLevelSeparator) + 1);
}

bool TitleHeader::hasTwoLevels() const {
    for (int logical = 0; logical < count(); ++logical)
        if (title(logical).contains(kLevelSeparator))
            return true;
    return false;
}

int TitleHeader::titleRowHeight() const {
    return fontMetrics().height() + 2 * style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, this);
}

QSize TitleHeader::sizeHint() const {
    QSize size = QHeaderView::sizeHint();
    int height = titleRowHeight() * (hasTwoLevels() ? 2 : 1);
    // A vertical title needs its length, with the margin at either end.
    const int margin = style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, this);
    for (const int logical : verticalTitles_)
        height = std::max(height, fontMetrics().horizontalAdvance(title(logical)) + 2 * margin);
    size.setHeight(height);
    return size;
}

std::pair<int, int> TitleHeader::upperSpan(int logical) const {
    const QString upper = upperTitle(logical);
    // Walks away from the column in visual order, over hidden columns, while the next visible one has
    // the same upper title.
    auto reach = [&](int step) {
        int last = logical;
        for (int visual = visualIndex(logical) + step; visual >= 0 && visual < count(); visual += step) {
            const int next = logicalIndex(visual);
            if (isSectionHidden(next))
                continue;
            if (upperTitle(next) != upper)
                break;
            last = next;
        }
        return last;
    };
    return {reach(-1), reach(+1)};
}

QRect TitleHeader::upperCellRect(int logical) const {
    if (upperTitle(logical).isEmpty() || isSectionHidden(logical))
        return {};
    const auto [first, last] = upperSpan(logical);
    const int left = sectionViewportPosition(first);
    const int right = sectionViewportPosition(last) + sectionSize(last);
    return QRect(left, 0, right - left, height() / 2);
}

int TitleHeader::markerWidth() const {
    // The triangle is half a line of text wide; a header margin keeps it off the text.
    return std::max(fontMetrics().height() / 2, 6) +
           style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, this);
}

void TitleHeader::drawMarker(QPainter* painter, const QRect& area) const {
    const double width = std::max(fontMetrics().height() / 2, 6);
    const double height = width / 2;
    const QPointF centre = QRectF(area).center();
    // Ascending points up, from the smallest value at the top.
    const double tipY =
        markerOrder_ == Qt::AscendingOrder ? centre.y() - height / 2 : centre.y() + height / 2;
    const double baseY =
        markerOrder_ == Qt::AscendingOrder ? centre.y() + height / 2 : centre.y() - height / 2;
    const QPolygonF triangle{QPointF(centre.x() - width / 2, baseY), QPointF(centre.x() + width / 2, baseY),
                             QPointF(centre.x(), tipY)};
    FillMarker(painter, triangle, palette());
}

void TitleHeader::drawCell(QPainter* painter, QStyleOptionHeaderV2 option, const QRect& rect,
                           const QString& text, bool vertical, bool marked) const {
    option.rect = rect;
    option.text.clear();
    option.sortIndicator = QStyleOptionHeader::None;
    option.state |= QStyle::State_Raised;
    // The style may leave the painter clipped to what it drew.
    painter->save();
    style()->drawControl(QStyle::CE_HeaderSection, &option, painter, this);
    painter->restore();

    QRect textArea = style()->subElementRect(QStyle::SE_HeaderLabel, &option, this);
    if (marked) {
        // The marker stands at the right of the cell and the title is centred in what is left; where that
        // would cut the title ("% крита" in its narrow column) and the cell is tall enough, as a title
        // that fills both title rows is, the marker stands above the centred line of text instead.
        const int textHeight = fontMetrics().height();
        const int above = (textArea.height() - textHeight) / 2;
        const bool fitsBeside =
            vertical || fontMetrics().horizontalAdvance(text) <= textArea.width() - markerWidth();
        if (!fitsBeside && above >= markerWidth()) {
            drawMarker(painter, QRect(textArea.left(), textArea.top(), textArea.width(), above));
        } else {
            const QRect markerArea(textArea.right() - markerWidth() + 1, textArea.top(), markerWidth(),
                                   textArea.height());
            drawMarker(painter, markerArea);
            textArea.setRight(markerArea.left() - 1);
        }
    }
    if (!vertical) {
        QStyleOptionHeaderV2 label = option;
        label.rect = textArea;
        label.text = text;
        label.textAlignment = Qt::AlignCenter;
        label.textElideMode = Qt::ElideRight;
        painter->save();
        style()->drawControl(QStyle::CE_HeaderLabel, &label, painter, this);
        painter->restore();
        return;
    }
    painter->save();
    painter->setPen(palette().color(QPalette::ButtonText));
    painter->translate(QRectF(textArea).center());
    painter->rotate(-90);  // the text runs up the cell, reading from bottom to top
    const QRectF turned(-textArea.height() / 2.0, -textArea.width() / 2.0, textArea.height(),
                        textArea.width());
    painter->drawText(turned, Qt::AlignCenter, text);
    painter->restore();
}

void TitleHeader::paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const {
    if (!rect.isValid())
        return;
    // The header-wide state (orientation, enabled) first, then that of the section.
    QStyleOptionHeaderV2 option;
    initStyleOption(&option);
    initStyleOptionForIndex(&option, logicalIndex);
    const bool marked = logicalIndex == markerColumn_;
    const QString upper = upperTitle(logicalIndex);
    if (upper.isEmpty()) {
        drawCell(painter, option, rect, title(logicalIndex), isVerticalTitle(logicalIndex), marked);
        return;
    }
    const int upperHeight = rect.height() / 2;
    drawCell(painter, option, rect.adjusted(0, upperHeight, 0, 0), lowerTitle(logicalIndex), false, marked);

    // Every column under the shared cell draws the whole of it, so a repaint of any one of them
    // leaves it whole.
    const QRect span = upperCellRect(logicalIndex);
    const QRect cell(rect.left() + span.left() - sectionViewportPosition(logicalIndex), rect.top(),
                     span.width(), upperHeight);
    QStyleOptionHeaderV2 shared = option;
    shared.state &= ~(QStyle::State_Sunken | QStyle::State_MouseOver | QStyle::State_On);
    drawCell(painter, shared, cell, upper, false, false);
}

}  // namespace tally::ui
