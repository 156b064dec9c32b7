#pragma once
// The settings window: the four user switches, the two reference-list buttons and the idle gap that
// splits the log into fights. Every change takes effect at once (the gap from the next calculation);
// there is nothing to confirm or cancel.

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QWidget>
#include <functional>

#include "settings/settings_store.h"
#include "tallyscope/analysis_run.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QSpinBox;

namespace tally::ui {

// How the settings window reaches the rest of the program. A hook left empty does nothing.
struct SettingsWindowHooks {
    // Shows or hides the main grid's CharDamage and CharDots columns.
    std::function<void(bool visible)> setDotColumnsVisible;
    // Switches the "CharClass<>0" row filter of mtList (CharacterTable::SetFiltered).
    std::function<void(bool hidden)> setMobsHidden;
    // Shows the reference-list window with mtSkills, or with mtDots.
    std::function<void()> showSkillList;
    std::function<void()> showDotList;
};

// Where a window of ownSize goes when it is first shown over the main window: centred on it, but never
// beyond the desktop's left or top edge.
QPoint CentredOver(const QRect& mainWindowFrame, QSize ownSize, QPoint desktopTopLeft);

class TfSettings : public QWidget {
    Q_OBJECT
  public:
    // Builds the window hidden and pushes the switches of settings and the idle gap of fights into its
    // controls; each control whose state changes runs its handler, which reaches the main grid and mtList
    // through the hooks.
    TfSettings(AppSettings& settings, FightSettings& fights, SettingsWindowHooks hooks,
               QWidget* parent = nullptr);

    // The main window's settings button: hides the window when it is shown, shows it otherwise. The first
    // show centres it over the main window (outer frame, screen pixels); later shows leave it where it was.
    void ToggleShown(const QRect& mainWindowFrame);

  private:
    void FormCreate();
    void cbShowDotsClick();
    void cbHideMobsClick();
    void cbAdvancedClick();
    void rbDotsToLastClick();
    void rbDotsDividingClick();
    void bSkillListClick();
    void bSkillDotListClick();
    void seFightGapChange(int seconds);

    AppSettings& settings_;
    FightSettings& fights_;
    SettingsWindowHooks hooks_;
    bool placed_ = false;

    QCheckBox* cbShowDots_;
    QCheckBox* cbHideMobs_;
    QCheckBox* cbAdvanced_;
    QGroupBox* RadioGroup1_;
    QRadioButton* rbDotsToLast_;
    QRadioButton* rbDotsDividing_;
    QPushButton* bSkillList_;
    QPushButton* bSkillDotList_;
    QLabel* lFightGap_;
    QSpinBox* seFightGap_;
};

}  // namespace tally::ui
