#include "uAdvanced.h"

#include <QHeaderView>
#include <QVBoxLayout>

#include "editable_grid.h"
#include "layout_font.h"
#include "layout_scale.h"
#include "skill_stat_model.h"

namespace tally::ui {

TfAdvanced::TfAdvanced(SkillStatTable& mtAdv, const ImgList& images, QWidget* parent)
    : QWidget(parent, Qt::Window),
      model_(new SkillStatModel(mtAdv, this)),
      grid_(new EditableGrid(images, this)) {
    setObjectName(QStringLiteral("fAdvanced"));
    setWindowTitle(QStringLiteral("Расширенная статистика (по скилам)"));
    // Hidden or shown, it never keeps the program running once the main window is closed.
    setAttribute(Qt::WA_QuitOnClose, false);
    setFont(LayoutFont(QStringLiteral("Tahoma"), 13));
    resize(Scaled(582), Scaled(506));

    grid_->setObjectName(QStringLiteral("Grid"));
    grid_->horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
    grid_->horizontalHeader()->setSectionsClickable(false);
    grid_->setTableModel(model_);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(grid_);
}

DataLink& TfAdvanced::DS() {
    return grid_->dataLink();
}

void TfAdvanced::FormCreate(const QRect& mainFrame) {
    // The native window is made now so that the outer width includes the frame where the platform
    // knows it before the window is first shown.
    winId();
    move(mainFrame.left() - frameGeometry().width(), mainFrame.top());
}

}  // namespace tally::ui
