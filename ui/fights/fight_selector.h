#pragma once
// The fight selector of the main window: "Весь лог", the whole log's table, and one entry per fight of
// the last calculation, each with its number, start and end, length and main target.

#include <QComboBox>
#include <vector>

#include "tallyscope/fights.h"

namespace tally::ui {

class FightSelector final : public QComboBox {
    Q_OBJECT

  public:
    static constexpr char kWholeLog[] = "Весь лог";

    explicit FightSelector(QWidget* parent = nullptr);

    // Lists the whole log and the fights, in order, and shows the whole log.
    void SetFights(const std::vector<Fight>& fights);

    // From now on the box keeps its right edge rightMargin pixels inside its parent's right edge as the
    // parent is resized, never narrower than minimumWidth, so that a wider window shows more of the
    // entries.
    void StretchToParent(int minimumWidth, int rightMargin);
    // Moves the left edge to x; the right edge stays where it was, at every width of the parent.
    void MoveLeftEdgeTo(int x);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  signals:
    // The user chose an entry: the index of the fight in the list, or -1 for the whole log.
    void fightChosen(int fight);

  private:
    void FitToParent();

    int minimumWidth_ = 0;
    int rightMargin_ = -1;  // negative: the box keeps the width it is given
};

}  // namespace tally::ui
