#include "uStat.h"

#include <QHeaderView>
#include <QVBoxLayout>

#include "layout_font.h"
#include "reference_list_models.h"
#include "table_grid.h"

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

void TfStat::setOuterSize(const QSize& outer) {
    const QSize frame = frameGeometry().size() - size();
    resize(outer - frame);
}

void TfStat::ShowList(List list, const QRect& mainFrame) {
    if (list == List::None)
        return;
    setWindowTitle(list == List::Skills ? QStringLiteral("Скиллы персонажей")
                                        : QStringLiteral("Доты и последний кто использовал"));
    // The native window is made now so that the frame is known where the platform can tell it.
    winId();
    move(mainFrame.topLeft() + kOffsetFromMain);
    setOuterSize(kOuterSize);
    grid_->setTableModel(list == List::Skills ? static_cast<LinkedTableModel*>(skills_)
                                              : static_cast<LinkedTableModel*>(dots_));
    shown_ = list;
    show();
    raise();
    // Some platforms tell the frame only once the window is on the screen.
    if (frameGeometry().size() != kOuterSize)
        setOuterSize(kOuterSize);
}

}  // namespace tally::ui
