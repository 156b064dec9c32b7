#pragma once
// The statistics window: mtAdv, one row per character and skill, in one editable grid. Placed once,
// when the program starts, so that its right edge touches the main window's left edge; closing it
// only hides it.

#include <QWidget>

namespace tally {
class SkillStatTable;
}

namespace tally::ui {

class DataLink;
class EditableGrid;
class ImgList;
class SkillStatModel;

class TfAdvanced final : public QWidget {
    Q_OBJECT

  public:
    TfAdvanced(SkillStatTable& mtAdv, const ImgList& images, QWidget* parent = nullptr);

    // The grid's data link with mtAdv.
    DataLink& DS();
    EditableGrid* grid() const { return grid_; }
    SkillStatModel* statModel() const { return model_; }

    // Puts the window's top at the main window's top and its right edge at the main window's left
    // edge, from the main window's outer rectangle. Off the screen if the main window is at its left.
    void FormCreate(const QRect& mainFrame);

  private:
    SkillStatModel* model_;
    EditableGrid* grid_;
};

}  // namespace tally::ui
