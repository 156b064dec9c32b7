#pragma once
// The small filled triangles the grid headers draw: the sort marker of a title and the current-row
// mark of the row indicator, in the palette's button-text colour.

#include <QPainter>
#include <QPalette>
#include <QPolygonF>

namespace tally::ui {

inline void FillMarker(QPainter* painter, const QPolygonF& triangle, const QPalette& palette) {
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    painter->setPen(Qt::NoPen);
    painter->setBrush(palette.color(QPalette::ButtonText));
    painter->drawPolygon(triangle);
    painter->restore();
}

}  // namespace tally::ui
