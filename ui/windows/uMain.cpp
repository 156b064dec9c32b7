#include "windows/uMain.h"

#include <QCheckBox>
#include <QClipboard>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QUrl>
#include <QVBoxLayout>
#include <filesystem>

#include "app/handler_guard.h"
#include "app/layout_font.h"
#include "app/layout_scale.h"
#include "app/outer_placement.h"
#include "fights/fight_selector.h"
#include "grid/db_grid.h"
#include "live/log_watch.h"
#include "models/data_link.h"
#include "tallyscope/damage_report.h"
#include "tallyscope/platform.h"
#include "tallyscope/reference_tables.h"
#include "windows/clickable_label.h"
#include "windows/uAbout.h"
#include "windows/uAdvanced.h"
#include "windows/uSettings.h"
#include "windows/uStat.h"

namespace tally::ui {
namespace {

// The window's layout, for 120 pixels per inch.
constexpr QSize kClientSize{425, 581};
constexpr QPoint kInitialPosition{960, 228};
constexpr int kPanelHeight = 137;
constexpr int kProgressBarHeight = 21;
constexpr int kStatusBarHeight = 23;
// The smallest outer size the window may take, in screen pixels.
constexpr QSize kMinimumOuterSize{kMainWindowMinWidth, kMainWindowMinHeight};
// The widgets are repainted at most this often while a run pumps events: often enough for the
// progress bar to move smoothly, rarely enough not to slow the analysis down.
constexpr int kRepaintIntervalMs = 40;

constexpr char kCaption[] = "Tallyscope — измеритель урона по чат-логу Aion";

QPushButton* MakeButton(QWidget* parent, const char* name, const QString& text, const QIcon& icon,
                        const QRect& layoutRect) {
    auto* button = new QPushButton(icon, text, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(Scaled(layoutRect.x()), Scaled(layoutRect.y()), Scaled(layoutRect.width()),
                        Scaled(layoutRect.height()));
    button->setIconSize(QSize(ImgList::kSize, ImgList::kSize));
    if (!text.isEmpty())
        button->setStyleSheet(QStringLiteral("text-align: left; padding-left: 5px;"));
    return button;
}

std::filesystem::path PathFromBox(const QString& text) {
    const QByteArray bytes = text.toUtf8();
    return platform::PathFromUtf8(
        std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

}  // namespace

TfMain::TfMain(AppSettings& settings, FightSettings& fightSettings, const QString& appDir, QWidget* parent)
    : QMainWindow(parent), settings_(settings), fightSettings_(fightSettings), appDir_(appDir) {
    setObjectName(QStringLiteral("fMain"));
    BuildLayout();
    FormCreate();
}

TfMain::~TfMain() {
    // The grid follows mtList and draws the icon strip, members of this window that are gone by the time
    // QWidget deletes the children: the grid has to let go of them first.
    delete DBGrid_;
}

void TfMain::BuildLayout() {
    setFont(LayoutFont(QStringLiteral("MS Sans Serif"), 13));
    auto* central = new QWidget(this);
    auto* column = new QVBoxLayout(central);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    Panel_ = new QWidget(central);
    Panel_->setObjectName(QStringLiteral("Panel"));
    Panel_->setFixedHeight(Scaled(kPanelHeight));
    eFN_ = new QLineEdit(Panel_);
    eFN_->setObjectName(QStringLiteral("eFN"));
    eFN_->setGeometry(Scaled(24), Scaled(16), Scaled(201), Scaled(24));
    bOpen_ = MakeButton(Panel_, "bOpen", QStringLiteral("Открыть..."), images_.icon(ImgList::kOpen),
                        {240, 16, 145, 25});
    bHelp_ = MakeButton(Panel_, "bHelp", {}, images_.icon(ImgList::kQuestion), {391, 16, 25, 25});
    bCalc_ = MakeButton(Panel_, "bCalc", QStringLiteral("Расчитать"), images_.icon(ImgList::kCalculate),
                        {24, 48, 146, 25});
    bCopy_ = MakeButton(Panel_, "bCopy", {}, images_.icon(ImgList::kCopy), {192, 48, 25, 25});
    bCopy_->setToolTip(QStringLiteral("Скопировать в буфер обмена"));
    bClear_ = MakeButton(Panel_, "bClear", QStringLiteral("Очистить лог"), images_.icon(ImgList::kClear),
                         {240, 48, 145, 25});
    bSettings_ = MakeButton(Panel_, "bSettings", {}, images_.icon(ImgList::kSettings), {391, 48, 25, 25});
    // Following the log: the switch under the calculate button, the new measurement under the clear
    // button, the two things a player uses while the game writes.
    cbFollow_ = new QCheckBox(QStringLiteral("Следить за логом"), Panel_);
    cbFollow_->setObjectName(QStringLiteral("cbFollow"));
    // As wide as the free space up to the new-measurement button, so that a wider font than the
    // layout's (as under Wine) still shows the whole caption.
    cbFollow_->setGeometry(Scaled(24), Scaled(80), Scaled(208), Scaled(25));
    bNewMeasure_ = MakeButton(Panel_, "bNewMeasure", QStringLiteral("Новый замер"),
                              images_.icon(ImgList::kCalculate), {240, 80, 145, 25});
    bNewMeasure_->setToolTip(QStringLiteral("Текущий бой считает только то, что игра запишет дальше"));
    bNewMeasure_->setEnabled(false);
    follow_ = new LogWatch(this);
    lUpdate_ = new ClickableLabel(Panel_);
    lUpdate_->setObjectName(QStringLiteral("lUpdate"));
    lUpdate_->setText(QStringLiteral("Версия программы:"));
    lUpdate_->setGeometry(Scaled(24), Scaled(111), Scaled(126), Scaled(16));
    lUpdate_->setCursor(Qt::PointingHandCursor);
    // The fight selector takes the free space right of the version label, centred on the label's line:
    // from under the copy button to the right edge of the settings button, or further right in a
    // wider window, as far from the panel's edge as the settings button is in the layout.
    cmbFights_ = new FightSelector(Panel_);
    cmbFights_->setObjectName(QStringLiteral("cmbFights"));
    cmbFights_->setGeometry(Scaled(192), Scaled(108), Scaled(224), Scaled(23));
    cmbFights_->StretchToParent(Scaled(224), Scaled(kClientSize.width() - 416));
    // The hidden box that carries the clipboard report; it never shows.
    CBuf_ = new QPlainTextEdit(Panel_);
    CBuf_->setObjectName(QStringLiteral("CBuf"));
    CBuf_->setGeometry(0, 0, Scaled(17), Scaled(17));
    CBuf_->setVisible(false);
    column->addWidget(Panel_);

    DBGrid_ = new DBGrid(tables_.mtList, images_, central);
    DBGrid_->setObjectName(QStringLiteral("DBGrid"));
    column->addWidget(DBGrid_, 1);
    shown_.AttachMainGrid(DBGrid_);

    ProgressBar_ = new QProgressBar(central);
    ProgressBar_->setObjectName(QStringLiteral("ProgressBar"));
    ProgressBar_->setFixedHeight(Scaled(kProgressBarHeight));
    ProgressBar_->setRange(0, 100);
    ProgressBar_->setValue(0);
    ProgressBar_->setTextVisible(false);
    column->addWidget(ProgressBar_);
    setCentralWidget(central);

    Status_ = new QStatusBar(this);
    Status_->setObjectName(QStringLiteral("Status"));
    Status_->setFixedHeight(Scaled(kStatusBarHeight));
    Status_->setSizeGripEnabled(true);
    statusPanel_ = new QLabel(Status_);
    statusPanel_->setObjectName(QStringLiteral("StatusPanel"));
    Status_->addWidget(statusPanel_, 1);
    setStatusBar(Status_);

    // Tab order: the grid, then the panel's controls in the layout's order; the bars take no focus.
    ProgressBar_->setFocusPolicy(Qt::NoFocus);
    Status_->setFocusPolicy(Qt::NoFocus);
    QWidget* order[] = {DBGrid_,    eFN_,   CBuf_,  bCalc_,    bCopy_,       bClear_,
                        bSettings_, bOpen_, bHelp_, cbFollow_, bNewMeasure_, cmbFights_};
    for (std::size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);

    // The first keyboard focus is where the tab order starts.
    DBGrid_->setFocus();

    // The layout's placement: the client area at its size, the frame's corner at the initial position; the
    // outer size follows once the frame is known, unless the settings file gives one.
    placement_ = new OuterPlacement(this);
    placement_->SetMinimumOuterSize(kMinimumOuterSize);
    const QSize client(Scaled(kClientSize.width()), Scaled(kClientSize.height()));
    placement_->Place(
        [client](const QMargins& frame) { return QRect(kInitialPosition, client.grownBy(frame)); });

    connect(bOpen_, &QPushButton::clicked, this, &TfMain::bOpenClick);
    connect(bCalc_, &QPushButton::clicked, this, &TfMain::bCalcClick);
    connect(bClear_, &QPushButton::clicked, this, &TfMain::bClearClick);
    connect(bCopy_, &QPushButton::clicked, this, &TfMain::bCopyClick);
    connect(bHelp_, &QPushButton::clicked, this, &TfMain::bHelpClick);
    connect(bSettings_, &QPushButton::clicked, this, &TfMain::bSettingsClick);
    connect(lUpdate_, &ClickableLabel::clicked, this, &TfMain::lUpdateClick);
    connect(cmbFights_, &FightSelector::fightChosen, this, &TfMain::cmbFightsSelect);
    connect(cmbFights_, &FightSelector::currentFightChosen, this, &TfMain::cmbFightsSelectCurrent);
    connect(cbFollow_, &QCheckBox::clicked, this, &TfMain::cbFollowClick);
    connect(bNewMeasure_, &QPushButton::clicked, this, &TfMain::bNewMeasureClick);
    connect(eFN_, &QLineEdit::editingFinished, this, &TfMain::FollowPathOfBox);
    connect(follow_, &LogWatch::booked, this, &TfMain::ShowFollowed);
    connect(follow_, &LogWatch::stateChanged, this, [this](LogWatch::State state, const QString& detail) {
        ShowFollowState(static_cast<int>(state), detail);
    });
}

void TfMain::FormCreate() {
    Guarded(this, [this] {
        setWindowTitle(QString::fromUtf8(kCaption));
        lUpdate_->setText(QString::fromUtf8(kVersionText));
        lUpdate_->adjustSize();  // the label grows with its caption
        // A wider font than the layout's (as under Wine) makes the caption reach into the selector.
        if (lUpdate_->geometry().right() + Scaled(8) > cmbFights_->x())
            cmbFights_->MoveLeftEdgeTo(lUpdate_->geometry().right() + Scaled(8));
        settingsFile_ = SettingsFilePath(appDir_);
        LoadSettings(settingsFile_, *this, settings_);
        LoadFightSettings(settingsFile_, fightSettings_);
        LoadReferenceTables(tables_.mtDots, tables_.mtSkills, PathFromBox(appDir_));
    });
}

void TfMain::AttachWindows(TfStat* stat, TfSettings* settingsWindow, TfAbout* about, TfAdvanced* advanced) {
    fStat_ = stat;
    fSettings_ = settingsWindow;
    fAbout_ = about;
    fAdvanced_ = advanced;
    shown_.AttachStatistics(advanced);
    // Following starts once every window it shows in is there.
    cbFollow_->setChecked(fightSettings_.follow);
    if (fightSettings_.follow)
        Guarded(this, [this] { StartFollowing(); });
}

void TfMain::FormClose() {
    Guarded(this, [this] {
        SaveSettings(settingsFile_, *this, settings_);
        SaveFightSettings(settingsFile_, fightSettings_);
    });
}

void TfMain::closeEvent(QCloseEvent* event) {
    // Closing tears the tables down; while a run fills them the close waits for the run to end.
    if (running_) {
        closeAfterRun_ = true;
        event->ignore();
        return;
    }
    FormClose();
    event->accept();
}

void TfMain::bOpenClick() {
    Guarded(this, [this] {
        const QString chosen = ChooseLogFile(this, lastChosenFile_);
        if (chosen.isEmpty())
            return;
        lastChosenFile_ = chosen;
        eFN_->setText(chosen);
        FollowPathOfBox();
    });
}

void TfMain::bCalcClick() {
    if (running_)
        return;
    const std::filesystem::path log = PathFromBox(eFN_->text());
    FightSplitter splitter(fightSettings_.fightGap);
    RunAnalysis([&] {
        // The last calculation's fights go with the tables they came from.
        ListFights(log, {});
        try {
            AnalysisRun(log, tables_, settings_, *this, splitter);
        } catch (...) {
            // The fights found up to the line that stopped the run; each one's own run reads its bytes anew.
            ListFights(log, splitter.Fights());
            throw;
        }
        ListFights(log, splitter.Fights());
    });
    FollowPathOfBox();
}

void TfMain::cmbFightsSelect(int fight) {
    if (running_)
        return;
    if (fight < 0) {
        shown_.ShowWholeLog();
        // While following, the whole log's tables are derived only when shown: bring them up to date.
        if (follow_->IsFollowing())
            Guarded(this, [this] { shown_.ShowFollowed(*follow_->Analysis(), follow_->Path()); });
        return;
    }
    RunAnalysis([&] { shown_.ShowFight(static_cast<std::size_t>(fight), settings_, *this); });
}

void TfMain::cmbFightsSelectCurrent() {
    if (running_ || !follow_->Analysis())
        return;
    Guarded(this, [this] { shown_.ShowCurrentFight(*follow_->Analysis()); });
}

void TfMain::cbFollowClick(bool on) {
    Guarded(this, [this, on] {
        fightSettings_.follow = on;
        if (on)
            StartFollowing();
        else
            StopFollowing();
    });
}

void TfMain::bNewMeasureClick() {
    if (running_ || !follow_->IsFollowing())
        return;
    Guarded(this, [this] {
        follow_->StartNewMeasurement();
        cmbFights_->ChooseCurrentFight();
        shown_.ShowCurrentFight(*follow_->Analysis());
    });
}

void TfMain::StartFollowing() {
    const std::filesystem::path log = PathFromBox(eFN_->text());
    LiveSettings live;
    live.settings = settings_;
    live.hideMobs = tables_.mtList.IsFiltered();
    live.gap = fightSettings_.fightGap;
    follow_->Start(log, tables_.mtDots, tables_.mtSkills, live, fightSettings_.followInterval);
    followError_.reset();
    // The fights listed are the followed log's from now on, and the fight in progress is shown.
    cmbFights_->SetCurrentFightEntry(true);
    ListFights(log, {});
    shown_.StartFollowing(*follow_->Analysis());
    cmbFights_->ChooseCurrentFight();
    shown_.ShowCurrentFight(*follow_->Analysis());
    bNewMeasure_->setEnabled(!running_);
}

void TfMain::StopFollowing() {
    follow_->Stop();
    bNewMeasure_->setEnabled(false);
    // The whole log's tables become the followed log's as far as it was read, shown or not, so that
    // "Весь лог" shows what the fights listed belong to.
    if (const LiveAnalysis* live = follow_->Analysis()) {
        if (!shown_.CurrentFightShown() && !shown_.ShownFight())
            shown_.ShowFollowed(*live, follow_->Path());
        else
            shown_.KeepWholeLog(*live);
    }
    ShowStatus(kFollowStopped);
}

void TfMain::FollowPathOfBox() {
    if (!follow_->IsFollowing() || running_ || PathFromBox(eFN_->text()) == follow_->Path())
        return;
    Guarded(this, [this] { StartFollowing(); });
}

void TfMain::ShowFollowed(bool restarted) {
    const LiveAnalysis* live = follow_->Analysis();
    if (running_ || !live)
        return;
    Guarded(this, [&] {
        if (restarted && !shown_.CurrentFightShown()) {
            // The log started again: what was shown belonged to the log before; the selector lists
            // the fights anew with "Текущий бой" chosen.
            shown_.ShowCurrentFight(*live);
            cmbFights_->ChooseCurrentFight();
        }
        cmbFights_->UpdateFights(live->Fights());
        shown_.ShowFollowed(*live, follow_->Path());
        if (shown_.CurrentFightShown() && !cmbFights_->CurrentFightChosen())
            cmbFights_->ChooseCurrentFight();
        // A line that cannot be booked ends the booking as it ends a run; said once, without a box.
        const auto& error = shown_.CurrentFightShown() ? live->CurrentFightError() : live->WholeLogError();
        if (error && error != followError_)
            ShowStatus(std::string(kRunStopped) + ": " + *error);
        followError_ = error;
    });
}

void TfMain::ShowFollowState(int state, const QString& detail) {
    const char* text = LogWatch::kFollowing;
    switch (static_cast<LogWatch::State>(state)) {
        case LogWatch::State::Following:
            break;
        case LogWatch::State::Missing:
            text = LogWatch::kMissing;
            break;
        case LogWatch::State::Restarted:
            text = LogWatch::kRestarted;
            break;
        case LogWatch::State::ReadFailed:
            text = LogWatch::kReadFailed;
            break;
    }
    QString shown = QString::fromUtf8(text);
    if (!detail.isEmpty())
        shown += (state == static_cast<int>(LogWatch::State::ReadFailed) ? QStringLiteral(" ")
                                                                         : QStringLiteral(": ")) +
                 detail;
    statusPanel_->setText(shown);
}

void TfMain::ListFights(const std::filesystem::path& logPath, std::vector<Fight> fights) {
    // A calculation or a clear after following has stopped leaves nothing of the followed log to show.
    if (!follow_->IsFollowing())
        cmbFights_->SetCurrentFightEntry(false);
    shown_.SetFights(logPath, std::move(fights));
    cmbFights_->SetFights(shown_.Fights());
}

void TfMain::RunAnalysis(const std::function<void()>& run) {
    running_ = true;
    // The run pumps events: the follower must not show its tables meanwhile.
    follow_->SetPaused(true);
    bCalc_->setEnabled(false);
    bClear_->setEnabled(false);
    cmbFights_->setEnabled(false);
    cbFollow_->setEnabled(false);
    bNewMeasure_->setEnabled(false);
    // The first pump of a run always processes events, so that the window shows at once that the run
    // has started, however short the log; later pumps wait for the repaint interval.
    sinceRepaint_.invalidate();
    Guarded(this, [&] {
        try {
            run();
        } catch (...) {
            // The run stopped at a line: show what was booked and say so before the error box.
            ProgressBar_->setValue(progressPosition_);
            SetDataViewEnabled(DataView::ReferenceList, true);
            SetDataViewEnabled(DataView::MainGrid, true);
            ShowStatus(kRunStopped);
            throw;
        }
    });
    ProgressBar_->setValue(progressPosition_);
    running_ = false;
    if (mobsHiddenAfterRun_) {
        shown_.SetMobsHidden(*mobsHiddenAfterRun_);
        mobsHiddenAfterRun_.reset();
    }
    bCalc_->setEnabled(true);
    bClear_->setEnabled(true);
    cmbFights_->setEnabled(true);
    cbFollow_->setEnabled(true);
    bNewMeasure_->setEnabled(follow_->IsFollowing());
    follow_->SetPaused(false);
    if (closeAfterRun_) {
        closeAfterRun_ = false;
        close();
    }
}

void TfMain::SetMobsHidden(bool hidden) {
    if (running_) {
        mobsHiddenAfterRun_ = hidden;
        return;
    }
    shown_.SetMobsHidden(hidden);
}

void TfMain::bClearClick() {
    if (running_)
        return;
    Guarded(this, [this] {
        // The fights were parts of the log that is being deleted: only the whole log's table is left,
        // empty.
        ListFights({}, {});
        tables_.mtList.Clear();
        SetProgressPosition(0);
        const unsigned long code = platform::DeleteFileReportingError(PathFromBox(eFN_->text()));
        if (follow_->IsFollowing()) {
            // The follower starts again with the log the game writes next, from nothing.
            follow_->Restart();
            cmbFights_->ChooseCurrentFight();
            shown_.ShowCurrentFight(*follow_->Analysis());
        }
        if (code == 0) {
            ShowStatus(kCleared);
            return;
        }
        ShowStatus(std::string(kClearFailed) + std::to_string(code));
        ShowMessageBox(
            {this, QStringLiteral("Error"), QString::fromUtf8(kNotDeleted), QMessageBox::Critical, true});
    });
}

void TfMain::bCopyClick() {
    Guarded(this, [this] {
        const QString report = QString::fromStdString(shown_.Report());
        CBuf_->setPlainText(report);
        QGuiApplication::clipboard()->setText(report);
    });
}

void TfMain::bHelpClick() {
    Guarded(this, [this] {
        if (fAbout_)
            fAbout_->ShowBeside(OuterGeometry());
    });
}

void TfMain::bSettingsClick() {
    Guarded(this, [this] {
        if (fSettings_)
            fSettings_->ToggleShown(OuterGeometry());
    });
}

void TfMain::lUpdateClick() {
    Guarded(this, [this] { openUrl_(QUrl(QString::fromLatin1(kHomePageAddress))); });
}

void TfMain::ShowStatus(std::string_view text) {
    statusPanel_->setText(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
}

void TfMain::SetProgressPosition(std::int32_t position) {
    progressPosition_ = position;
    ProgressBar_->setValue(position);
}

void TfMain::SetProgressMax(std::int32_t maximum) {
    progressMax_ = maximum;
    // A range of 0 to 0 would make the bar a busy indicator; an empty log shows an empty bar.
    ProgressBar_->setMaximum(maximum > 0 ? maximum : 1);
}

void TfMain::StepProgress() {
    if (progressPosition_ < progressMax_)
        ++progressPosition_;
}

void TfMain::PumpEvents() {
    if (sinceRepaint_.isValid() && sinceRepaint_.elapsed() < kRepaintIntervalMs)
        return;
    ProgressBar_->setValue(progressPosition_);
    QCoreApplication::processEvents();
    sinceRepaint_.start();
}

void TfMain::SetDataViewEnabled(DataView view, bool enabled) {
    switch (view) {
        case DataView::MainGrid:
            DBGrid_->DataSource().setEnabled(enabled);
            break;
        case DataView::ReferenceList:
            if (fStat_)
                fStat_->DS().setEnabled(enabled);
            break;
        case DataView::Statistics:
            if (fAdvanced_)
                fAdvanced_->DS().setEnabled(enabled);
            break;
    }
}

void TfMain::SetStatisticsWindowVisible(bool visible) {
    if (fAdvanced_)
        fAdvanced_->setVisible(visible);
}

void TfMain::MarkTotalDamageSorted() {
    DBGrid_->MarkTotalDamageSorted();
}

void TfMain::TrimWorkingSet() {
    platform::TrimWorkingSet();
}

QRect TfMain::OuterGeometry() const {
    return placement_->Outer();
}

int TfMain::Top() const {
    return OuterGeometry().top();
}
int TfMain::Left() const {
    return OuterGeometry().left();
}
int TfMain::Width() const {
    return OuterGeometry().width();
}
int TfMain::Height() const {
    return OuterGeometry().height();
}
// A value that is already the window's changes nothing, so that a key missing from the settings file
// leaves the layout's placement as it is.
void TfMain::SetTop(int top) {
    if (top != Top())
        placement_->PlaceAt(OuterGeometry().translated(0, top - Top()));
}
void TfMain::SetLeft(int left) {
    if (left != Left())
        placement_->PlaceAt(OuterGeometry().translated(left - Left(), 0));
}
void TfMain::SetWidth(int width) {
    width = std::max(width, kMinimumOuterSize.width());
    if (width != Width())
        placement_->PlaceAt(QRect(OuterGeometry().topLeft(), QSize(width, Height())));
}
void TfMain::SetHeight(int height) {
    height = std::max(height, kMinimumOuterSize.height());
    if (height != Height())
        placement_->PlaceAt(QRect(OuterGeometry().topLeft(), QSize(Width(), height)));
}
QString TfMain::PathText() const {
    return eFN_->text();
}
void TfMain::SetPathText(const QString& text) {
    eFN_->setText(text);
}

}  // namespace tally::ui
