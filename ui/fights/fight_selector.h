#pragma once
// The fight selector of the main window: "Весь лог", the whole log's table, and one entry per fight of
// the last calculation, each with its number, start and end, length and main target. While the log is
// followed, "Текущий бой" stands above them all and the fights' entries grow as the fights come.

#include <QComboBox>
#include <vector>

#include "tallyscope/fights.h"

namespace tally::ui {

class FightSelector final : public QComboBox {
    Q_OBJECT

  public:
    static constexpr char kWholeLog[] = "Весь лог";
    static constexpr char kCurrentFight[] = "Текущий бой";

    explicit FightSelector(QWidget* parent = nullptr);

    // Lists the whole log and the fights, in order, and shows the whole log.
    void SetFights(const std::vector<Fight>& fights);
    // The followed log's fights as they stand: new entries are added and those of fights that have
    // grown are written anew; the entry chosen stays chosen. Fewer fights than entries (the log was
    // started anew) lists them afresh and chooses "Текущий бой" when it is there.
    void UpdateFights(const std::vector<Fight>& fights);

    // Puts "Текущий бой" at the top, or takes it away; the entry chosen stays chosen where it is still
    // there, else the whole log is.
    void SetCurrentFightEntry(bool shown);
    bool HasCurrentFightEntry() const { return currentFightEntry_; }
    // Chooses "Текущий бой", as the program does when following starts.
    void ChooseCurrentFight();
    bool CurrentFightChosen() const { return currentFightEntry_ && currentIndex() == 0; }

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
    // The user chose "Текущий бой".
    void currentFightChosen();

  private:
    void FitToParent();
    // The entry of the whole log: 0, or 1 below "Текущий бой".
    int WholeLogEntry() const { return currentFightEntry_ ? 1 : 0; }
    void FitListWidth();

    int minimumWidth_ = 0;
    int rightMargin_ = -1;  // negative: the box keeps the width it is given
    bool currentFightEntry_ = false;
};

}  // namespace tally::ui
