#include "windows/uStat.h"

#include <QHeaderView>
#include <QVBoxLayout>

#include "app/layout_font.h"
#include "app/outer_placement.h"
#include "grid/table_grid.h"
#include "models/reference_list_models.h"

namespace tally::ui {
namespace {

// Where the window goes relative to the main window, and its outer size; screen pixels.
constexpr QPoint kOffsetFromMain(5, 130);
constexpr QSize kOuterSize(400, 250);

}  // namespace

TfStat::TfStat(SkillTable& mtSkills, DotTable& mtDots, const ImgList& images, QWidget* parent)
    : QWidget(parent, Qt::Window),
      skills_(new SkillListModel(mtSkills, this)),
      dots_(new DotListModel(mtDots, this)),
      grid_(new TableGrid(images, this)) {
    setObjectName(QStringLiteral("fStat"));
    setAttribute(Qt::WA_QuitOnClose, false);
    setFont(LayoutFont(QStringLiteral("MS Sans Serif"), 13));
    placement_ = new OuterPlacement(this);

    grid_->setObjectName(QStringLiteral("Grid"));
    grid_->setReadOnly(true);
    grid_->setAlternatingColours(true);
    grid_->horizontalHeader()->setSectionsClickable(false);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(grid_);
}

DataLink& TfStat::DS() {
    return grid_->dataLink();
}

void TfStat::ShowSkillList(const QRect& mainFrame) {
    ShowList(List::Skills, mainFrame);
}

void TfStat::ShowDotList(const QRect& mainFrame) {
    ShowList(List::Dots, mainFrame);
}

void TfStat::ShowList(List list, const QRect& mainFrame) {
    if (list == List::None)
        return;
    setWindowTitle(list == List::Skills ? QStringLiteral("Скиллы персонажей")
                                        : QStringLiteral("Доты и последний кто использовал"));
    placement_->PlaceAt(QRect(mainFrame.topLeft() + kOffsetFromMain, kOuterSize));
    grid_->setTableModel(list == List::Skills ? static_cast<LinkedTableModel*>(skills_)
                                              : static_cast<LinkedTableModel*>(dots_));
    shown_ = list;
    show();
    raise();
}

}  // namespace tally::ui
