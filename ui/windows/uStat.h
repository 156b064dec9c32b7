#pragma once
// The reference-list window: the skill list mtSkills or the DoT list mtDots with their last users, in
// one read-only grid. Placed and sized anew each time a list is shown; showing the other list while it
// is open switches caption and table in place. Closing it only hides it.

#include <QWidget>

namespace tally {
class DotTable;
class SkillTable;
}  // namespace tally

namespace tally::ui {

class DataLink;
class DotListModel;
class ImgList;
class OuterPlacement;
class SkillListModel;
class TableGrid;

class TfStat final : public QWidget {
    Q_OBJECT

  public:
    enum class List { None, Skills, Dots };

    TfStat(SkillTable& mtSkills, DotTable& mtDots, const ImgList& images, QWidget* parent = nullptr);

    // The grid's data link with the table shown.
    DataLink& DS();
    TableGrid* grid() const { return grid_; }
    List shownList() const { return shown_; }

    // Caption "Скиллы персонажей" and mtSkills, or "Доты и последний кто использовал" and mtDots; the
    // window goes to the main window's left + 5 and top + 130, 400 by 250 outside, and is shown
    // without waiting for it to close. mainFrame is the main window's outer rectangle.
    void ShowSkillList(const QRect& mainFrame);
    void ShowDotList(const QRect& mainFrame);
    void ShowList(List list, const QRect& mainFrame);

  private:
    OuterPlacement* placement_;
    SkillListModel* skills_;
    DotListModel* dots_;
    TableGrid* grid_;
    List shown_ = List::None;
};

}  // namespace tally::ui
