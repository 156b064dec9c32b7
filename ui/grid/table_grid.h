#pragma once
// A data grid over one in-memory table: the current cell follows the table's current row and moves
// it, a narrow indicator column marks the current row, icon columns show ImgList's icons, and the
// visible columns share the grid's width in proportion to their widths, without a horizontal scroll
// bar. The user may resize and reorder columns; that is not kept.

#include <QTableView>
#include <vector>

#include "models/data_link.h"

namespace tally::ui {

class GridDelegate;
class ImgList;
class LinkedTableModel;

class TableGrid : public QTableView {
    Q_OBJECT

  public:
    TableGrid(const ImgList& images, QWidget* parent = nullptr);

    // The data link of this grid; the model shown is the link's model.
    DataLink& dataLink() { return link_; }
    LinkedTableModel* tableModel() const { return link_.model(); }
    // Shows another table's model; the link keeps its state.
    void setTableModel(LinkedTableModel* model);

    void setReadOnly(bool readOnly);
    bool isReadOnly() const { return readOnly_; }
    // Rows alternate between the window colour and the tooltip background colour.
    void setAlternatingColours(bool on);

    // Hides or shows a column; a hidden column keeps its place, its width and its title.
    void setColumnShown(int column, bool shown);
    // Shares the viewport's width among the visible columns by their relative widths.
    void fitColumns();
    // The relative width of a column (the layout width until the user resizes a column).
    int columnWeight(int column) const;

    // Moves the current cell to the next cell, after the current one in reading order (rows top to
    // bottom, columns as shown left to right, wrapping round once), whose text contains the text.
    // False, and the current cell stays, when no cell does.
    bool findNext(const QString& text, Qt::CaseSensitivity sensitivity);

  protected:
    // Puts a header of the grid's own kind in place of the plain one.
    void useHorizontalHeader(QHeaderView* header);
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    void followTableCurrent(int row);
    void onSectionResized(int logical, int oldSize, int newSize);
    std::vector<int> visibleColumns() const;
    void applyPalette();

    DataLink link_;
    GridDelegate* delegate_;
    std::vector<int> weights_;  // by column
    bool fitting_ = false;
    bool readOnly_ = true;
    bool alternating_ = false;
};

}  // namespace tally::ui
