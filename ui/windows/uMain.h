#pragma once
// The main window: the path of the chat log, the calculate, clear, copy, help and settings buttons,
// the follow switch and the new-measurement button, the fight selector, the result grid over mtList
// (or over the chosen fight's table), the progress bar and the status bar. It owns the four tables and
// the icon strip for the life of the program, runs the analysis on the calculate button and a fight's
// own run on the selector, reports the runs' progress as their RunFeedback, and while "Следить за
// логом" is on shows the fight in progress of the log as the game writes it.

#include <QElapsedTimer>
#include <QMainWindow>
#include <QString>
#include <functional>
#include <optional>

#include "fights/shown_results.h"
#include "grid/img_list.h"
#include "settings/settings_store.h"
#include "tallyscope/analysis_run.h"
#include "windows/home_page.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QStatusBar;

namespace tally::ui {

class ClickableLabel;
class DBGrid;
class FightSelector;
class LogWatch;
class OuterPlacement;
class TfAbout;
class TfAdvanced;
class TfSettings;
class TfStat;

class TfMain final : public QMainWindow, public RunFeedback, public MainWindowSide {
    Q_OBJECT

  public:
    // Creates the window and runs its creation handler: caption, version label, settings file and
    // reference lists read from appDir.
    TfMain(AppSettings& settings, FightSettings& fightSettings, const QString& appDir,
           QWidget* parent = nullptr);
    ~TfMain() override;

    // The auxiliary windows, created after the main window.
    void AttachWindows(TfStat* stat, TfSettings* settingsWindow, TfAbout* about, TfAdvanced* advanced);

    AnalysisTables& tables() { return tables_; }
    const ImgList& images() const { return images_; }
    DBGrid* grid() const { return DBGrid_; }
    ShownResults& shownResults() { return shown_; }
    QString settingsFilePath() const { return settingsFile_; }
    bool isRunning() const { return running_; }
    void SetUrlOpener(UrlOpener opener) { openUrl_ = std::move(opener); }

    // Switches the class-0 row filter of mtList, as the settings window asks. While a run is in
    // progress the change waits for the run to end: the run's lookups must see every row, or a hidden
    // character would be booked again under a new row.
    void SetMobsHidden(bool hidden);

    // Handlers of the window's controls.
    void bOpenClick();
    void bCalcClick();
    void bClearClick();
    void bCopyClick();
    void bHelpClick();
    void bSettingsClick();
    void lUpdateClick();
    // The fight selector: -1 shows the whole log's tables again, a fight's index runs that fight alone.
    void cmbFightsSelect(int fight);
    // "Текущий бой" of the fight selector.
    void cmbFightsSelectCurrent();
    // "Следить за логом": starts following the log in the path box from its beginning, or stops
    // reading it, leaving what is shown.
    void cbFollowClick(bool on);
    // "Новый замер": the fight in progress counts only what the game writes from now on.
    void bNewMeasureClick();
    LogWatch& logWatch() { return *follow_; }

    // RunFeedback: what an analysis run shows. Pumping and stepping are called for every few lines, so
    // they only touch the widgets when enough time has passed since the last repaint.
    void ShowStatus(std::string_view text) override;
    void SetProgressPosition(std::int32_t position) override;
    void SetProgressMax(std::int32_t maximum) override;
    void StepProgress() override;
    void PumpEvents() override;
    void SetDataViewEnabled(DataView view, bool enabled) override;
    void SetStatisticsWindowVisible(bool visible) override;
    void MarkTotalDamageSorted() override;
    void TrimWorkingSet() override;

    // The outer rectangle, frame included, where the window is or, until the platform has framed it,
    // where it has been put.
    QRect OuterGeometry() const;

    // MainWindowSide: the placement and path box as the settings file stores them; the smallest outer
    // size is kMainWindowMinWidth by kMainWindowMinHeight.
    int Top() const override;
    int Left() const override;
    int Width() const override;
    int Height() const override;
    void SetTop(int top) override;
    void SetLeft(int left) override;
    void SetWidth(int width) override;
    void SetHeight(int height) override;
    QString PathText() const override;
    void SetPathText(const QString& text) override;

    static constexpr char kVersionText[] = "Версия программы: 1.2.2.0";
    static constexpr char kCleared[] = "Chat.log успешно очищен!";
    static constexpr char kClearFailed[] = "Ошибка файла! Код:";
    static constexpr char kNotDeleted[] = "Лог-файл не удалён!";
    static constexpr char kRunStopped[] = "Анализ остановлен из-за ошибки";
    static constexpr char kFollowStopped[] = "Слежение за логом остановлено";

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void BuildLayout();
    void FormCreate();
    void FormClose();
    // Runs an analysis with the buttons that would start another one switched off, reporting an error
    // that ends it; a close asked for meanwhile happens afterwards.
    void RunAnalysis(const std::function<void()>& run);
    // Lists the fights of the calculation of the log at logPath and shows the whole log.
    void ListFights(const std::filesystem::path& logPath, std::vector<Fight> fights);
    void StartFollowing();
    void StopFollowing();
    // Follows the log the path box names now, when it is another one than the log followed.
    void FollowPathOfBox();
    // What the follower booked: the fights and the view shown brought up to date.
    void ShowFollowed(bool restarted);
    void ShowFollowState(int state, const QString& detail);

    AppSettings& settings_;
    FightSettings& fightSettings_;
    QString appDir_;
    QString settingsFile_;
    AnalysisTables tables_;
    ImgList images_;
    ShownResults shown_{tables_};

    QWidget* Panel_ = nullptr;
    QLineEdit* eFN_ = nullptr;
    QPushButton* bOpen_ = nullptr;
    QPushButton* bHelp_ = nullptr;
    QPushButton* bCalc_ = nullptr;
    QPushButton* bCopy_ = nullptr;
    QPushButton* bClear_ = nullptr;
    QPushButton* bSettings_ = nullptr;
    QCheckBox* cbFollow_ = nullptr;
    QPushButton* bNewMeasure_ = nullptr;
    LogWatch* follow_ = nullptr;
    std::optional<std::string> followError_;  // the booking error last said in the status bar
    ClickableLabel* lUpdate_ = nullptr;
    FightSelector* cmbFights_ = nullptr;
    QPlainTextEdit* CBuf_ = nullptr;
    DBGrid* DBGrid_ = nullptr;
    QProgressBar* ProgressBar_ = nullptr;
    QStatusBar* Status_ = nullptr;
    QLabel* statusPanel_ = nullptr;
    OuterPlacement* placement_ = nullptr;

    TfStat* fStat_ = nullptr;
    TfSettings* fSettings_ = nullptr;
    TfAbout* fAbout_ = nullptr;
    TfAdvanced* fAdvanced_ = nullptr;

    UrlOpener openUrl_ = OpenInBrowser;
    QString lastChosenFile_ = QStringLiteral("chat");
    bool running_ = false;
    bool closeAfterRun_ = false;
    std::optional<bool> mobsHiddenAfterRun_;
    std::int32_t progressMax_ = 100;
    std::int32_t progressPosition_ = 0;
    QElapsedTimer sinceRepaint_;
};

}  // namespace tally::ui
