// The desktop program end to end: the five windows made by the start-up over a scratch program
// directory, driven through their controls as a user drives them: typing a log path, calculating,
// sorting by a title, switching settings, copying the report, clearing the log and closing.

#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <memory>
#ifdef Q_OS_WIN
#include <windows.h>
#endif
#include <string>
#include <vector>

#include "app/application.h"
#include "app/modal_seams.h"
#include "chat_log_files.h"
#include "find_control.h"
#include "grid/db_grid.h"
#include "grid/editable_grid.h"
#include "grid/title_header.h"
#include "gui_test_main.h"
#include "models/character_list_model.h"
#include "settings/settings_store.h"
#include "tallyscope/analysis_run.h"
#include "tallyscope/codepage.h"
#include "tallyscope/platform.h"
#include "windows/uAbout.h"
#include "windows/uAdvanced.h"
#include "windows/uMain.h"
#include "windows/uSettings.h"
#include "windows/uStat.h"

using tally::ui::test::FileLines;
using tally::ui::test::Find;
using tally::ui::test::Lines;
using tally::ui::test::LogBytes;
using tally::ui::test::WriteFile;

using tally::ui::Application;
using tally::ui::CharacterListModel;
using tally::ui::DBGrid;
using tally::ui::MessageBoxRequest;
using tally::ui::TfMain;

namespace {

// A small fight: two players whose skills name their classes (Алрик 6, Лиса 7), a summon (12), a
// monster that hits back (class 0) and a DoT tick whose caster nobody saw, which goes to the log owner.
const Lines kFight = {
    "2026.12.09 10:00:01 : Алрик использует: Шаровая молния IV. Ледяная гарпия получает 2000 ед. урона.",
    "2026.12.09 10:00:02 : Лиса использует Сотрясение I. Ледяная гарпия получает 3000 ед. урона.",
    "2026.12.09 10:00:03 : Элементаль огня наносит 500 ед. урона цели Ледяная гарпия.",
    "2026.12.09 10:00:04 : Ледяная гарпия наносит 800 ед. урона цели Алрик.",
    "2026.12.09 10:00:05 : Тлеющая метка II: Ледяная гарпия получает 45 ед. урона.",
};

// The grid rows of kFight after the run: by total damage, descending.
const QStringList kFightRows = {"Лиса (7) 3000/0", "Алрик (6) 2000/0", "Ледяная гарпия (0) 800/0",
                                "Элементаль огня (12) 500/0", "ВЫ (6) 45/45"};

struct RecordedBox {
    QWidget* parent;
    QString caption;
    QString text;
    QMessageBox::Icon icon;
    bool centredOnScreen;
};

}  // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<Application> app_;
    QList<RecordedBox> boxes_;
    QList<QUrl> opened_;

    QString AppFile(const QString& name) const { return dir_->filePath(name); }

    // Starts the program over the scratch directory and shows the main window, as the executable does.
    void Start() {
        app_ = std::make_unique<Application>(dir_->path());
        Main().SetUrlOpener([this](const QUrl& url) { opened_ << url; });
        app_->ShowMainWindow();
        QVERIFY(QTest::qWaitForWindowExposed(&Main()));
    }

    TfMain& Main() { return app_->fMain(); }

    QPushButton* Button(const char* name) { return Find<QPushButton>(&Main(), name); }
    QLineEdit* PathBox() { return Find<QLineEdit>(&Main(), "eFN"); }
    QProgressBar* Progress() { return Find<QProgressBar>(&Main(), "ProgressBar"); }
    DBGrid* Grid() { return Find<DBGrid>(&Main(), "DBGrid"); }
    QString Status() { return Find<QLabel>(&Main(), "StatusPanel")->text(); }

    // The rows the main grid shows, read from its model: "name (class) total/dots".
    QStringList GridRows() {
        const QAbstractItemModel* model = Grid()->model();
        const auto raw = [model](int row, int column) {
            return model->index(row, column).data(tally::ui::RawValueRole).toString();
        };
        QStringList rows;
        for (int row = 0; row < model->rowCount(); ++row)
            rows << QStringLiteral("%1 (%2) %3/%4")
                        .arg(raw(row, CharacterListModel::CharNameColumn),
                             raw(row, CharacterListModel::CharClassColumn),
                             raw(row, CharacterListModel::DmgAllColumn),
                             raw(row, CharacterListModel::CharDotsColumn));
        return rows;
    }

    QString WriteLog(const QString& name, const Lines& lines) {
        const QString path = AppFile(name);
        WriteFile(path, LogBytes(lines));
        return path;
    }

    void Type(const QString& path) {
        PathBox()->clear();
        QTest::keyClicks(PathBox(), path);
    }

    void Calculate(const QString& path) {
        Type(path);
        QTest::mouseClick(Button("bCalc"), Qt::LeftButton);
    }

    void ClickTitle(int column) {
        tally::ui::TitleHeader* header = Grid()->titleHeader();
        const QPoint centre(header->sectionViewportPosition(column) + header->sectionSize(column) / 2,
                            header->height() / 2);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, centre);
    }

    // Clicks a switch of the settings window on its indicator, showing the window first if needed.
    void ClickSetting(const char* name) {
        if (!app_->fSettings().isVisible())
            QTest::mouseClick(Button("bSettings"), Qt::LeftButton);
        auto* box = Find<QAbstractButton>(&app_->fSettings(), name);
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(4, box->height() / 2));
    }

  private slots:
    void init() {
        boxes_.clear();
        opened_.clear();
        tally::ui::SetMessageBoxSeam([this](const MessageBoxRequest& request) {
            boxes_ << RecordedBox{request.parent, request.caption, request.text, request.icon,
                                  request.centredOnScreen};
        });
        dir_ = std::make_unique<QTemporaryDir>();
        QVERIFY(dir_->isValid());
        for (const char* list : {"dots.txt", "skills.txt"})
            QVERIFY(QFile::copy(QStringLiteral(TALLYSCOPE_RESOURCES_DIR "/") + list, AppFile(list)));
    }

    void cleanup() {
        app_.reset();
        tally::ui::SetMessageBoxSeam({});
        tally::ui::SetFileChooserSeam({});
        dir_.reset();
    }

    void startsWithTheLayoutDefaultsWithoutSettingsFile() {
        Start();
        QVERIFY(boxes_.isEmpty());
        QVERIFY(Main().windowTitle().startsWith(QStringLiteral("Tallyscope")));
        QCOMPARE(Find<QLabel>(&Main(), "lUpdate")->text(), QString::fromUtf8(TfMain::kVersionText));
        QCOMPARE(Main().Left(), 960);
        QCOMPARE(Main().Top(), 228);
        // The window takes no outer size below 450 by 500, however it is sized.
        Main().resize(100, 100);
        QCOMPARE(Main().Width(), 450);
        QCOMPARE(Main().Height(), 500);
        QCOMPARE(PathBox()->text(), QString());
        QCOMPARE(Status(), QString());
        QCOMPARE(Progress()->value(), 0);
        QCOMPARE(Progress()->maximum(), 100);
        QCOMPARE(Grid()->model()->rowCount(), 0);
        QCOMPARE(Grid()->titleHeader()->markerColumn(), int(CharacterListModel::DmgAllColumn));
        QCOMPARE(Grid()->titleHeader()->markerOrder(), Qt::DescendingOrder);

        // Method 1, DoT columns hidden, class-0 rows shown, statistics off.
        const tally::AppSettings& settings = app_->settings();
        QCOMPARE(settings.calcType, 0);
        QCOMPARE(settings.showDots, 0);
        QCOMPARE(settings.hideMobs, 0);
        QCOMPARE(settings.showAdvanced, 0);
        QVERIFY(Find<QRadioButton>(&app_->fSettings(), "rbDotsToLast")->isChecked());
        for (const char* box : {"cbShowDots", "cbHideMobs", "cbAdvanced"})
            QVERIFY2(!Find<QCheckBox>(&app_->fSettings(), box)->isChecked(), box);
        QVERIFY(!Grid()->dotColumnsVisible());
        QVERIFY(!Main().tables().mtList.IsFiltered());

        // Only the main window is shown; the reference lists were loaded.
        QVERIFY(Main().isVisible());
        for (QWidget* window :
             {static_cast<QWidget*>(&app_->fStat()), static_cast<QWidget*>(&app_->fSettings()),
              static_cast<QWidget*>(&app_->fAbout()), static_cast<QWidget*>(&app_->fAdvanced())})
            QVERIFY2(!window->isVisible(), qPrintable(window->objectName()));
        QVERIFY(Main().tables().mtDots.RowCount() > 0);
        QVERIFY(Main().tables().mtSkills.RowCount() > 0);
    }

    void calculatesTheTypedLog() {
        Start();
        const QString log = WriteLog(QStringLiteral("Chat.log"), kFight);
        Calculate(log);
        QVERIFY(boxes_.isEmpty());
        QCOMPARE(GridRows(), kFightRows);
        QVERIFY2(Status().startsWith(QStringLiteral("Готов! Время выполнения: ")), qPrintable(Status()));
        const int maximum = tally::ProgressMaximum(static_cast<std::uint64_t>(QFileInfo(log).size()));
        QVERIFY(maximum > 0);
        QCOMPARE(Progress()->maximum(), maximum);
        QCOMPARE(Progress()->value(), maximum);
        QCOMPARE(Grid()->titleHeader()->markerColumn(), int(CharacterListModel::DmgAllColumn));
        QVERIFY(Button("bCalc")->isEnabled());
        QVERIFY(Button("bClear")->isEnabled());
        QVERIFY(!app_->fAdvanced().isVisible());  // statistics are off
        // The path box is taken as typed: a second run gives the same rows, nothing carried over.
        QTest::mouseClick(Button("bCalc"), Qt::LeftButton);
        QCOMPARE(GridRows(), kFightRows);

        Calculate(AppFile(QStringLiteral("missing.log")));
        QCOMPARE(Status(), QStringLiteral("Файла не существует!"));
        QCOMPARE(Grid()->model()->rowCount(), 0);
        QVERIFY(boxes_.isEmpty());
    }

    void statisticsWindowFollowsTheSwitch() {
        Start();
        const QString log = WriteLog(QStringLiteral("Chat.log"), kFight);
        ClickSetting("cbAdvanced");
        Calculate(log);
        QVERIFY(app_->fAdvanced().isVisible());
        const QAbstractItemModel* statistics = app_->fAdvanced().grid()->model();
        QVERIFY(statistics->rowCount() > 0);
        QCOMPARE(std::size_t(statistics->rowCount()), Main().tables().mtAdv.RowCount());
        // Critical rates were computed: the top row, Лиса, hit no critical.
        QCOMPARE(Grid()->model()->index(0, CharacterListModel::CriticalColumn).data(tally::ui::RawValueRole),
                 QVariant(qlonglong{0}));

        ClickSetting("cbAdvanced");
        Calculate(log);
        QVERIFY(!app_->fAdvanced().isVisible());
        QCOMPARE(statistics->rowCount(), 0);  // left switched off by the run
        QVERIFY(!Grid()
                     ->model()
                     ->index(0, CharacterListModel::CriticalColumn)
                     .data(tally::ui::RawValueRole)
                     .isValid());
    }

    void titleClickSortsTheTable_data() {
        QTest::addColumn<QList<int>>("clicks");
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<Qt::SortOrder>("marker");
        const QStringList byName = {"Алрик", "ВЫ", "Ледяная гарпия", "Лиса", "Элементаль огня"};
        QTest::newRow("name") << QList<int>{CharacterListModel::CharNameColumn} << byName
                              << Qt::AscendingOrder;
        QTest::newRow("name twice") << QList<int>{CharacterListModel::CharNameColumn,
                                                  CharacterListModel::CharNameColumn}
                                    << byName << Qt::AscendingOrder;
        // Stable: Алрик stays before ВЫ, both of class 6, as the run ordered them.
        QTest::newRow("class") << QList<int>{CharacterListModel::CharClassColumn}
                               << QStringList{"Ледяная гарпия", "Алрик", "ВЫ", "Лиса", "Элементаль огня"}
                               << Qt::AscendingOrder;
        QTest::newRow("name, then total")
            << QList<int>{CharacterListModel::CharNameColumn, CharacterListModel::DmgAllColumn}
            << QStringList{"Лиса", "Алрик", "Ледяная гарпия", "Элементаль огня", "ВЫ"} << Qt::DescendingOrder;
    }

    void titleClickSortsTheTable() {
        QFETCH(QList<int>, clicks);
        QFETCH(QStringList, names);
        QFETCH(Qt::SortOrder, marker);
        Start();
        Calculate(WriteLog(QStringLiteral("Chat.log"), kFight));
        for (int column : clicks)
            ClickTitle(column);
        QStringList shown;
        for (int row = 0; row < Grid()->model()->rowCount(); ++row)
            shown << Grid()->model()->index(row, CharacterListModel::CharNameColumn).data().toString();
        QCOMPARE(shown, names);
        QCOMPARE(Grid()->titleHeader()->markerColumn(), clicks.back());
        QCOMPARE(Grid()->titleHeader()->markerOrder(), marker);
    }

    void settingsTogglesShowAtOnce() {
        Start();
        Calculate(WriteLog(QStringLiteral("Chat.log"), kFight));

        ClickSetting("cbShowDots");
        QVERIFY(Grid()->dotColumnsVisible());
        QCOMPARE(app_->settings().showDots, 1);
        ClickSetting("cbShowDots");
        QVERIFY(!Grid()->dotColumnsVisible());
        QCOMPARE(app_->settings().showDots, 0);

        ClickSetting("cbHideMobs");
        QCOMPARE(GridRows(), QStringList({"Лиса (7) 3000/0", "Алрик (6) 2000/0", "Элементаль огня (12) 500/0",
                                          "ВЫ (6) 45/45"}));
        QCOMPARE(app_->settings().hideMobs, 1);
        ClickSetting("cbHideMobs");
        QCOMPARE(GridRows(), kFightRows);
        QCOMPARE(app_->settings().hideMobs, 0);
    }

    void copyPutsTheReportOnTheClipboard_data() {
        QTest::addColumn<bool>("calculate");
        QTest::addColumn<bool>("sortByName");
        QTest::addColumn<QString>("report");
        QTest::newRow("empty table") << false << false
                                     << "Урон персонажей(в т.ч. доты):\r\n\r\r\nУрон от ГС:\r\n";
        QTest::newRow("after a run")
            << true << false
            << "Урон персонажей(в т.ч. доты):\r\nЛиса - 3000 (0)\r\nАлрик - 2000 (0)\r\n"
               "ВЫ - 45 (45)\r\n\r\r\nУрон от ГС:\r\nЭлементаль огня - 500\r\n";
        QTest::newRow("sorted by name")
            << true << true
            << "Урон персонажей(в т.ч. доты):\r\nАлрик - 2000 (0)\r\nВЫ - 45 (45)\r\n"
               "Лиса - 3000 (0)\r\n\r\r\nУрон от ГС:\r\nЭлементаль огня - 500\r\n";
    }

    void copyPutsTheReportOnTheClipboard() {
        QFETCH(bool, calculate);
        QFETCH(bool, sortByName);
        QFETCH(QString, report);
        Start();
        if (calculate)
            Calculate(WriteLog(QStringLiteral("Chat.log"), kFight));
        if (sortByName)
            ClickTitle(CharacterListModel::CharNameColumn);
        QGuiApplication::clipboard()->setText(QStringLiteral("what was there"));
        QTest::mouseClick(Button("bCopy"), Qt::LeftButton);
        QCOMPARE(QGuiApplication::clipboard()->text(), report);
        QVERIFY(boxes_.isEmpty());
    }

    void clearDeletesTheLog_data() {
        QTest::addColumn<QString>("path");  // relative to the program directory; empty for an empty box
        QTest::addColumn<bool>("exists");
        QTest::addColumn<QString>("status");
        QTest::newRow("existing log") << "Chat.log" << true << "Chat.log успешно очищен!";
        QTest::newRow("other name") << "fight.log" << true << "Chat.log успешно очищен!";
        QTest::newRow("missing log") << "missing.log" << false << "Ошибка файла! Код:2";
#ifdef Q_OS_WIN
        // Windows reports an empty path as a path not found.
        QTest::newRow("empty path box") << "" << false << "Ошибка файла! Код:3";
#else
        QTest::newRow("empty path box") << "" << false << "Ошибка файла! Код:2";
#endif
    }

#ifdef Q_OS_WIN
    // The game client keeps its log open while it writes; Windows then refuses the deletion with the
    // sharing violation, 32, and the log stays.
    void clearFailsWhileAnotherProgramHoldsTheLog() {
        Start();
        const QString log = WriteLog(QStringLiteral("Chat.log"), kFight);
        const HANDLE writer =
            ::CreateFileW(QDir::toNativeSeparators(log).toStdWString().c_str(), GENERIC_WRITE,
                          FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        QVERIFY(writer != INVALID_HANDLE_VALUE);
        Type(log);
        QTest::mouseClick(Button("bClear"), Qt::LeftButton);
        ::CloseHandle(writer);
        QCOMPARE(Status(), QStringLiteral("Ошибка файла! Код:32"));
        QVERIFY(QFile::exists(log));
        QCOMPARE(boxes_.size(), 1);
        QCOMPARE(boxes_[0].text, QStringLiteral("Лог-файл не удалён!"));
    }
#endif

    void clearDeletesTheLog() {
        QFETCH(QString, path);
        QFETCH(bool, exists);
        QFETCH(QString, status);
        Start();
        Calculate(WriteLog(QStringLiteral("run.log"), kFight));
        QCOMPARE(GridRows(), kFightRows);
        const QString target = path.isEmpty() ? QString() : AppFile(path);
        if (exists)
            WriteLog(path, kFight);
        Type(target);

        QTest::mouseClick(Button("bClear"), Qt::LeftButton);
        QCOMPARE(Status(), status);
        QCOMPARE(Grid()->model()->rowCount(), 0);  // the results go whether or not the file does
        QCOMPARE(Progress()->value(), 0);
        QVERIFY(!QFile::exists(target));
        if (exists) {
            QVERIFY(boxes_.isEmpty());
        } else {
            QCOMPARE(boxes_.size(), 1);
            QCOMPARE(boxes_[0].caption, QStringLiteral("Error"));
            QCOMPARE(boxes_[0].text, QStringLiteral("Лог-файл не удалён!"));
            QCOMPARE(boxes_[0].icon, QMessageBox::Critical);
            QVERIFY(boxes_[0].centredOnScreen);
        }
    }

    void runEndedByAnErrorShowsWhatWasBooked() {
        Start();
        const QString log = WriteLog(
            QStringLiteral("Chat.log"),
            {kFight[0], kFight[1], "2026.12.09 10:00:03 : Алрик наносит много ед. урона.", kFight[2]});
        Calculate(log);
        QCOMPARE(boxes_.size(), 1);
        QCOMPARE(boxes_[0].caption, QStringLiteral("Aion Tallyscope"));
        QCOMPARE(boxes_[0].text, QStringLiteral("'' is not a valid integer value."));
        QCOMPARE(boxes_[0].icon, QMessageBox::Critical);
        QCOMPARE(boxes_[0].parent, static_cast<QWidget*>(&Main()));
        // The grid is connected again and shows the rows booked before the bad line, unsorted.
        QCOMPARE(GridRows(), QStringList({"Алрик (6) 2000/0", "Лиса (7) 3000/0"}));
        QCOMPARE(Status(), QString::fromUtf8(TfMain::kRunStopped));
        QVERIFY(!Main().isRunning());
        QVERIFY(Button("bCalc")->isEnabled());
        QVERIFY(Button("bClear")->isEnabled());

        // The log was let go: it can be cleared, and the next run starts afresh.
        QTest::mouseClick(Button("bClear"), Qt::LeftButton);
        QCOMPARE(Status(), QString::fromUtf8(TfMain::kCleared));
        Calculate(WriteLog(QStringLiteral("Chat.log"), kFight));
        QCOMPARE(GridRows(), kFightRows);
        QCOMPARE(boxes_.size(), 1);
    }

    void closeWritesTheSettingsFile() {
        Start();
        Type(QStringLiteral("D:\\Games\\Aion\\Chat.log"));
        ClickSetting("cbShowDots");
        const int width = Main().Width();
        const int height = Main().Height();
        QVERIFY(Main().close());
        QVERIFY(!Main().isVisible());
        QCOMPARE(FileLines(AppFile(QStringLiteral("options.ini"))),
                 QStringList({"[DESKTOP]", "Top=228", "Left=960", QStringLiteral("Width=%1").arg(width),
                              QStringLiteral("Height=%1").arg(height), "[OPTIONS]",
                              "Path=D:\\Games\\Aion\\Chat.log", "CalcType=0", "[VIEW]", "ShowDots=1",
                              "HideMobs=0", "ShowAdvanced=0", "[FIGHTS]", "FightGap=30"}));
        QVERIFY(boxes_.isEmpty());
    }

    void closeReportsASettingsFileThatCannotBeWritten() {
        // A directory in the settings file's place: reading gives the defaults, writing fails.
        QVERIFY(QDir(dir_->path()).mkdir(QStringLiteral("options.ini")));
        Start();
        QVERIFY(boxes_.isEmpty());
        QVERIFY(Main().close());
        QVERIFY(!Main().isVisible());  // the program still ends
        QCOMPARE(boxes_.size(), 1);
        QCOMPARE(boxes_[0].caption, QStringLiteral("Aion Tallyscope"));
        QCOMPARE(boxes_[0].text,
                 QStringLiteral("Unable to write to %1.").arg(tally::ui::SettingsFilePath(dir_->path())));
        QCOMPARE(boxes_[0].icon, QMessageBox::Critical);
    }

    void startUpAppliesTheSettingsFile() {
        WriteFile(AppFile(QStringLiteral("options.ini")),
                  "[DESKTOP]\r\nTop=100\r\nLeft=50\r\nWidth=300\r\nHeight=300\r\n[OPTIONS]\r\nPath=/logs/"
                  "Chat.log\r\n"
                  "CalcType=1\r\n[VIEW]\r\nShowDots=5\r\nHideMobs=1\r\nShowAdvanced=2\r\n");
        Start();
        QCOMPARE(Main().Left(), 50);
        QCOMPARE(Main().Top(), 100);
        QCOMPARE(Main().Width(), 450);  // raised to the smallest size the window takes
        QCOMPARE(Main().Height(), 500);
        QCOMPARE(PathBox()->text(), QStringLiteral("/logs/Chat.log"));
        QVERIFY(Grid()->dotColumnsVisible());
        QVERIFY(Main().tables().mtList.IsFiltered());
        QVERIFY(Find<QRadioButton>(&app_->fSettings(), "rbDotsDividing")->isChecked());
        auto* statistics = Find<QCheckBox>(&app_->fSettings(), "cbAdvanced");
        QVERIFY(!statistics->isChecked());
        QVERIFY(!statistics->isEnabled());
        // The statistics window stands with its right edge at the main window's left edge.
        QCOMPARE(app_->fAdvanced().frameGeometry().right() + 1, 50);

        QVERIFY(Main().close());
        QCOMPARE(FileLines(AppFile(QStringLiteral("options.ini"))),
                 QStringList({"[DESKTOP]", "Top=100", "Left=50", "Width=450", "Height=500", "[OPTIONS]",
                              "Path=/logs/Chat.log", "CalcType=1", "[VIEW]", "ShowDots=1", "HideMobs=1",
                              "ShowAdvanced=2", "[FIGHTS]", "FightGap=30"}));
    }

    void missingReferenceListIsReported_data() {
        QTest::addColumn<QString>("missing");
        QTest::addColumn<bool>("dotsLoaded");
        // The DoT list is read first; a failure stops the loading there.
        QTest::newRow("dots.txt") << "dots.txt" << false;
        QTest::newRow("skills.txt") << "skills.txt" << true;
    }

    void missingReferenceListIsReported() {
        QFETCH(QString, missing);
        QFETCH(bool, dotsLoaded);
        QVERIFY(QFile::remove(AppFile(missing)));
        WriteFile(AppFile(QStringLiteral("options.ini")), "[OPTIONS]\r\nPath=/logs/Chat.log\r\n");
        Start();
        QCOMPARE(boxes_.size(), 1);
        QCOMPARE(boxes_[0].caption, QStringLiteral("Aion Tallyscope"));
        // The system's message, in the user's language on Windows.
        QCOMPARE(boxes_[0].text, QString::fromStdString(tally::platform::FileErrorMessage(2)) + u'.');
        QCOMPARE(boxes_[0].icon, QMessageBox::Critical);
        QCOMPARE(Main().tables().mtDots.RowCount() > 0, dotsLoaded);
        QCOMPARE(Main().tables().mtSkills.RowCount(), std::size_t{0});

        // What ran before the error stays done, and the program is usable.
        QCOMPARE(PathBox()->text(), QStringLiteral("/logs/Chat.log"));
        QCOMPARE(Find<QLabel>(&Main(), "lUpdate")->text(), QString::fromUtf8(TfMain::kVersionText));
        QVERIFY(Main().isVisible());
        Calculate(WriteLog(QStringLiteral("Chat.log"), kFight));
        QVERIFY2(Status().startsWith(QStringLiteral("Готов!")), qPrintable(Status()));
        QCOMPARE(Grid()->model()->rowCount(), 5);  // every character is booked, classes or not
        QCOMPARE(boxes_.size(), 1);
    }

    void commandsWaitWhileARunIsInProgress() {
        // Long enough for the run to process waiting events: a player's hits and a monster's, turn about.
        Lines lines;
        for (int i = 0; i < 100; ++i) {
            lines.push_back(kFight[0]);
            lines.push_back(kFight[3]);
        }
        Start();
        const QString log = WriteLog(QStringLiteral("Chat.log"), lines);
        QTest::mouseClick(Button("bSettings"), Qt::LeftButton);
        QVERIFY(app_->fSettings().isVisible());

        struct During {
            bool fired = false;
            bool running = false;
            bool calcEnabled = true;
            bool clearEnabled = true;
            bool fightsEnabled = true;
            bool closed = true;
            bool logKept = false;
            QString status;
        } during;
        // The timer dies with the test, should the run never process events.
        QObject scope;
        QTimer::singleShot(0, &scope, [&] {
            during.fired = true;
            during.running = Main().isRunning();
            during.calcEnabled = Button("bCalc")->isEnabled();
            during.clearEnabled = Button("bClear")->isEnabled();
            during.fightsEnabled = Find<QComboBox>(&Main(), "cmbFights")->isEnabled();
            during.status = Status();
            // A second run, a clear and a close, each by the button and by its handler.
            QTest::mouseClick(Button("bCalc"), Qt::LeftButton);
            QTest::mouseClick(Button("bClear"), Qt::LeftButton);
            Main().bCalcClick();
            Main().bClearClick();
            during.logKept = QFile::exists(log);
            during.closed = Main().close();
            // A title click sorts mtList under the run's feet; the mob filter switched mid-run waits for
            // the run, so that the run's lookups still see every row.
            ClickTitle(CharacterListModel::CharNameColumn);
            ClickSetting("cbHideMobs");
        });
        Calculate(log);

        QVERIFY(during.fired);
        QVERIFY(during.running);
        QVERIFY(!during.calcEnabled);
        QVERIFY(!during.clearEnabled);
        QVERIFY(!during.fightsEnabled);
        QCOMPARE(during.status, QStringLiteral("Анализируем лог..."));
        QVERIFY(during.logKept);
        QVERIFY(!during.closed);

        // The run went through once, then the deferred close happened.
        QVERIFY(boxes_.isEmpty());
        QVERIFY(!Main().isRunning());
        QVERIFY(Button("bCalc")->isEnabled());
        QVERIFY(Button("bClear")->isEnabled());
        QVERIFY2(Status().startsWith(QStringLiteral("Готов!")), qPrintable(Status()));
        QVERIFY(QFile::exists(log));
        // One row per character, booked once each line: the hidden monster's row was found all along.
        QStringList table;
        for (const tally::CharacterRow& row : Main().tables().mtList.Rows())
            table << QStringLiteral("%1 %2")
                         .arg(QString::fromStdString(tally::Cp1251ToUtf8(row.charName)))
                         .arg(row.dmgAll);
        QCOMPARE(table, QStringList({"Алрик 200000", "Ледяная гарпия 80000"}));
        QVERIFY(Main().tables().mtList.IsFiltered());
        QVERIFY(Find<QCheckBox>(&app_->fSettings(), "cbHideMobs")->isChecked());
        QCOMPARE(GridRows(), QStringList({"Алрик (6) 200000/0"}));
        QCOMPARE(Grid()->titleHeader()->markerColumn(), int(CharacterListModel::DmgAllColumn));
        QVERIFY(!Main().isVisible());
        QVERIFY(FileLines(AppFile(QStringLiteral("options.ini"))).contains(QStringLiteral("HideMobs=1")));
    }

    void helpSettingsAndVersionWorkWithAnEmptyGrid() {
        Start();
        QCOMPARE(Grid()->model()->rowCount(), 0);

        QTest::mouseClick(Button("bHelp"), Qt::LeftButton);
        QVERIFY(app_->fAbout().isVisible());
        QCOMPARE(app_->fAbout().frameGeometry().topLeft(), Main().frameGeometry().topLeft() + QPoint(5, 30));

        QTest::mouseClick(Button("bSettings"), Qt::LeftButton);
        QVERIFY(app_->fSettings().isVisible());
        QTest::mouseClick(Button("bSettings"), Qt::LeftButton);
        QVERIFY(!app_->fSettings().isVisible());

        QTest::mouseClick(Find<QLabel>(&Main(), "lUpdate"), Qt::LeftButton);
        QCOMPARE(opened_, QList<QUrl>{QUrl(QString::fromLatin1(tally::ui::kHomePageAddress))});
        QVERIFY(boxes_.isEmpty());
    }

    void openPutsTheChosenFileInThePathBox() {
        QStringList answers = {QStringLiteral("/logs/a.log"), QString()};
        QStringList starts;
        tally::ui::SetFileChooserSeam([&](QWidget*, const QString& start) {
            starts << start;
            return answers.takeFirst();
        });
        Start();
        Type(QStringLiteral("typed.log"));
        QTest::mouseClick(Button("bOpen"), Qt::LeftButton);
        QCOMPARE(PathBox()->text(), QStringLiteral("/logs/a.log"));
        QTest::mouseClick(Button("bOpen"), Qt::LeftButton);  // cancelled: nothing changes
        QCOMPARE(PathBox()->text(), QStringLiteral("/logs/a.log"));
        QCOMPARE(starts, QStringList({"chat", "/logs/a.log"}));
    }
};

TALLY_GUI_TEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
