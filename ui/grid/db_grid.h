#pragma once
// The main grid over mtList: class icon, name, the damage totals and the damage per second under one
// "Урон" title, and the critical rate. A click on a title sorts the table shown one fixed way for that
// column's field and marks the column; the grid itself never sorts. The two DoT-related damage columns
// can be hidden. Read-only; Ctrl+F opens the find dialog. The grid's model can be turned to another
// table of characters (a fight's), which the title clicks then sort.

#include <string_view>

#include "grid/table_grid.h"

namespace tally {
class CharacterTable;
}

namespace tally::ui {

class CharacterListModel;
class FindDialog;
class TitleHeader;

class DBGrid final : public TableGrid {
    Q_OBJECT

  public:
    DBGrid(CharacterTable& mtList, const ImgList& images, QWidget* parent = nullptr);

    // The grid's data link with mtList.
    DataLink& DataSource() { return dataLink(); }
    CharacterListModel* characterModel() const { return model_; }
    TitleHeader* titleHeader() const { return header_; }

    // Shows or hides the columns of skill damage and DoT damage.
    void setDotColumnsVisible(bool shown);
    bool dotColumnsVisible() const;

    // The title click: sorts the table shown by the clicked column's field, one fixed way per field, and
    // moves the marker of that way to the column.
    void DBGridTitleBtnClick(int column);
    // Marks the total-damage column as sorted descending, as after an analysis run.
    void MarkTotalDamageSorted();

    // Opens the find dialog (made on first use) and brings it to the front.
    void openFindDialog();
    // The find dialog, or nullptr before the first Ctrl+F.
    FindDialog* findDialog() const { return find_; }

  protected:
    void keyPressEvent(QKeyEvent* event) override;

  private:
    CharacterListModel* model_;
    TitleHeader* header_;
    FindDialog* find_ = nullptr;
};

}  // namespace tally::ui
