#pragma once
// A grid whose cells the user can edit and whose rows the user can insert and delete: Insert puts an
// empty row in front of the current one, Ctrl+Delete removes the current row, and the context menu
// offers both and adding a row at the end.

#include "grid/table_grid.h"

namespace tally::ui {

class EditableGrid final : public TableGrid {
    Q_OBJECT

  public:
    explicit EditableGrid(const ImgList& images, QWidget* parent = nullptr);

    // Each returns false when the grid shows no table (its data link is off) or has no current row.
    bool insertRowBeforeCurrent();
    bool appendRow();
    bool deleteCurrentRow();

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

  private:
    bool insertRowAt(int row);
};

}  // namespace tally::ui
