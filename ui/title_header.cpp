#include "title_header.h"

#include <QPainter>
#include <QStyleOptionHeader>

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

void TitleHeader::drawCell(QPainter* painter, QStyleOptionHeader option, const QRect& rect,
                           const QString& text, bool vertical, bool marked) const {
    option.rect = rect;
    option.text = vertical ? QString() : text;
    option.textAlignment = Qt::AlignCenter;
    option.state |= QStyle::State_Raised;
    // The same arrows as QHeaderView draws for its own sort orders.
    option.sortIndicator = !marked                              ? QStyleOptionHeader::None
                           : markerOrder_ == Qt::AscendingOrder ? QStyleOptionHeader::SortDown
                                                                : QStyleOptionHeader::SortUp;
    style()->drawControl(QStyle::CE_Header, &option, painter, this);
    if (!vertical)
        return;

    painter->save();
    painter->setClipRect(rect);  // CE_Header can leave an empty clip behind
    painter->setPen(palette().color(QPalette::ButtonText));
    painter->translate(QRectF(rect).center());
    painter->rotate(-90);  // text runs up the cell, reading from bottom to top
    const QRectF turned(-rect.height() / 2.0, -rect.width() / 2.0, rect.height(), rect.width());
    painter->drawText(turned, Qt::AlignCenter, text);
    painter->restore();
}

void TitleHeader::paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const {
    if (!rect.isValid())
        return;
    QStyleOptionHeader option;
    initStyleOption(&option);  // orientation, palette and font, which the per-index part leaves out
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
    QStyleOptionHeader shared = option;
    shared.state &= ~(QStyle::State_Sunken | QStyle::State_MouseOver | QStyle::State_On);
    drawCell(painter, shared, cell, upper, false, false);
}

}  // namespace tally::ui
