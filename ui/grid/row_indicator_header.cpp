#include "grid/row_indicator_header.h"

#include <QItemSelectionModel>
#include <QPainter>
#include <QStyleOptionHeader>
#include <algorithm>

#include "grid/header_marker.h"

namespace tally::ui {

RowIndicatorHeader::RowIndicatorHeader(QWidget* parent) : QHeaderView(Qt::Vertical, parent) {
    setSectionsClickable(false);
    setHighlightSections(false);
    setSectionResizeMode(QHeaderView::Fixed);
    // A row is one line of text with a pixel of air above and below it and the grid line.
    const int rowHeight = fontMetrics().height() + 3;
    setMinimumSectionSize(rowHeight);
    setDefaultSectionSize(rowHeight);
}

int RowIndicatorHeader::markerSize() const {
    return std::max(fontMetrics().height() / 2, 4);
}

QSize RowIndicatorHeader::sizeHint() const {
    // Room for a triangle as wide as it is high, though it takes half of that, and a header margin
    // on either side, so that the mark stands clear of the grid's edge.
    const int margin = style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, this);
    return {markerSize() + 2 * margin, QHeaderView::sizeHint().height()};
}

void RowIndicatorHeader::paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const {
    // The header-wide state (orientation, enabled) first, then that of the section.
    QStyleOptionHeaderV2 option;
    initStyleOption(&option);
    initStyleOptionForIndex(&option, logicalIndex);
    option.rect = rect;
    option.text.clear();
    option.state |= QStyle::State_Raised;
    option.state &= ~(QStyle::State_Sunken | QStyle::State_On);
    style()->drawControl(QStyle::CE_HeaderSection, &option, painter, this);

    const QItemSelectionModel* selection = selectionModel();
    if (!selection || selection->currentIndex().row() != logicalIndex)
        return;
    const double height = markerSize();
    const QPointF centre = QRectF(rect).center();
    const QPointF tip(centre.x() + height / 4, centre.y());
    const QPolygonF triangle{QPointF(tip.x() - height / 2, tip.y() - height / 2), tip,
                             QPointF(tip.x() - height / 2, tip.y() + height / 2)};
    FillMarker(painter, triangle, palette());
}

}  // namespace tally::ui
