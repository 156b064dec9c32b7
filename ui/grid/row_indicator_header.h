#pragma once
// The narrow column at the left of a grid that marks the current row with a small triangle.

#include <QHeaderView>

namespace tally::ui {

class RowIndicatorHeader final : public QHeaderView {
    Q_OBJECT

  public:
    explicit RowIndicatorHeader(QWidget* parent = nullptr);

    QSize sizeHint() const override;

  protected:
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;

  private:
    // The triangle's height: half a line of text, so that it reads as a mark and not as a glyph.
    int markerSize() const;
};

}  // namespace tally::ui
