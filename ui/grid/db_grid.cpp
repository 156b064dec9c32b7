#include "grid/db_grid.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <array>

#include "grid/find_dialog.h"
#include "grid/title_header.h"
#include "models/character_list_model.h"

namespace tally::ui {
namespace {

// How a click on a title sorts mtList, by the field of the clicked column.
struct TitleSort {
    std::string_view field;
    std::string_view sortSpec;
    Qt::SortOrder marker;
};

// The damage per second is DmgAll over one time in combat for every row, so ordering by DmgAll orders
// by it too; rows whose rounded damage per second is the same stand by their exact damage.
constexpr std::array<TitleSort, 7> kTitleSorts = {{
    {"CharClass", "CharClass Asc", Qt::AscendingOrder},
    {"CharName", "CharName Asc", Qt::AscendingOrder},
    {"DmgAll", "DmgAll Desc", Qt::DescendingOrder},
    {CharacterListModel::kDpsField, "DmgAll Desc", Qt::DescendingOrder},
    {"CharDamage", "CharDamage Desc", Qt::DescendingOrder},
    {"CharDots", "CharDots Desc", Qt::DescendingOrder},
    {"Critical", "Critical Desc", Qt::DescendingOrder},
}};

}  // namespace

DBGrid::DBGrid(CharacterTable& mtList, const ImgList& images, QWidget* parent)
    : TableGrid(images, parent),
      model_(new CharacterListModel(mtList, this)),
      header_(new TitleHeader(this)) {
    setObjectName(QStringLiteral("DBGrid"));
    useHorizontalHeader(header_);
    setTableModel(model_);
    setReadOnly(true);
    setAlternatingColours(true);
    header_->setVerticalTitle(CharacterListModel::CharClassColumn, true);
    connect(header_, &QHeaderView::sectionClicked, this, &DBGrid::DBGridTitleBtnClick);
    setDotColumnsVisible(false);
    MarkTotalDamageSorted();
}

void DBGrid::setDotColumnsVisible(bool shown) {
    setColumnShown(CharacterListModel::CharDamageColumn, shown);
    setColumnShown(CharacterListModel::CharDotsColumn, shown);
}

bool DBGrid::dotColumnsVisible() const {
    return !isColumnHidden(CharacterListModel::CharDamageColumn) &&
           !isColumnHidden(CharacterListModel::CharDotsColumn);
}

void DBGrid::DBGridTitleBtnClick(int column) {
    if (column < 0 || column >= model_->columnCount())
        return;
    const std::string_view field = model_->column(column).field;
    for (const TitleSort& sort : kTitleSorts) {
        if (sort.field != field)
            continue;
        model_->table().Sort(sort.sortSpec);
        header_->setMarker(column, sort.marker);
        return;
    }
}

void DBGrid::MarkTotalDamageSorted() {
    header_->setMarker(model_->columnOf("DmgAll"), Qt::DescendingOrder);
}

void DBGrid::openFindDialog() {
    if (!find_)
        find_ = new FindDialog(*this);
    find_->show();
    find_->raise();
    find_->activateWindow();
    find_->textBox()->setFocus();
    find_->textBox()->selectAll();
}

void DBGrid::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Find)) {
        openFindDialog();
        event->accept();
        return;
    }
    TableGrid::keyPressEvent(event);
}

}  // namespace tally::ui
