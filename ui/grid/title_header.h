#pragma once
// The main grid's column titles: two title rows, where a bar in a title separates the upper title
// from the lower one ("Урон|Обший"). Visually adjacent visible columns with the same upper title
// share one upper cell; a title without a bar fills both rows. A title can be written vertically,
// reading from bottom to top. Titles are buttons, and one of them can carry a sort marker.

#include <QHeaderView>
#include <QStyleOptionHeaderV2>

namespace tally::ui {

class TitleHeader final : public QHeaderView {
    Q_OBJECT

  public:
    explicit TitleHeader(QWidget* parent = nullptr);

    // Puts the marker on one column and takes it off all others.
    void setMarker(int logical, Qt::SortOrder order);
    void clearMarker();
    // The marked column, or -1.
    int markerColumn() const { return markerColumn_; }
    Qt::SortOrder markerOrder() const { return markerOrder_; }

    void setVerticalTitle(int logical, bool vertical);
    bool isVerticalTitle(int logical) const;

    // The upper title of a column ("Урон" of "Урон|Обший"), empty for a one-level title.
    QString upperTitle(int logical) const;
    QString lowerTitle(int logical) const;
    // Where the upper title cell over a column stands, in viewport coordinates: across the visually
    // adjacent visible columns that share its upper title. Empty for a one-level title.
    QRect upperCellRect(int logical) const;

    QSize sizeHint() const override;

  protected:
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;

  private:
    // One row of titles: a line of text with the header's margin above and below it.
    int titleRowHeight() const;
    bool hasTwoLevels() const;
    QString title(int logical) const;
    // The visible columns next to the column, in visual order, that share its upper title: first
    // and last logical index.
    std::pair<int, int> upperSpan(int logical) const;
    // The room the sort marker takes at the right of a title.
    int markerWidth() const;
    void drawMarker(QPainter* painter, const QRect& area) const;
    void drawCell(QPainter* painter, QStyleOptionHeaderV2 option, const QRect& rect, const QString& text,
                  bool vertical, bool marked) const;

    QList<int> verticalTitles_;
    int markerColumn_ = -1;
    Qt::SortOrder markerOrder_ = Qt::DescendingOrder;
};

}  // namespace tally::ui
