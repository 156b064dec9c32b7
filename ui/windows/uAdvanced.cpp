#include "windows/uAdvanced.h"

#include <QHeaderView>
#include <QVBoxLayout>

#include "app/layout_font.h"
#include "app/layout_scale.h"
#include "app/outer_placement.h"
#include "grid/editable_grid.h"
#include "models/skill_stat_model.h"

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
    // The right edge touches the main window's left edge, whatever width the frame turns out to have.
    const QSize client = size();
    (new OuterPlacement(this))->Place([mainFrame, client](const QMargins& frame) {
        const QSize outer = client.grownBy(frame);
        return QRect(QPoint(mainFrame.left() - outer.width(), mainFrame.top()), outer);
    });
}

}  // namespace tally::ui
