// Fights in the desktop program end to end: the fight selector filled by a calculation, a chosen
// fight's own table and statistics, the whole log shown again exactly as it was, the damage-per-second
// column, the clipboard report of the table shown, and the idle gap from the settings file and window.

#include <QAbstractItemView>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>
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
#include "models/skill_stat_model.h"
#include "settings/profile_file.h"
#include "tallyscope/codepage.h"
#include "windows/uAdvanced.h"
#include "windows/uMain.h"
#include "windows/uSettings.h"

using tally::ui::test::Find;
using tally::ui::test::Lines;
using tally::ui::test::LogBytes;
using tally::ui::test::WriteFile;

using tally::ui::Application;
using tally::ui::CharacterListModel;
using tally::ui::DBGrid;
using tally::ui::MessageBoxRequest;
using tally::ui::SkillStatModel;
using tally::ui::TfMain;

namespace {

// An evening of three fights, 30 seconds of idle gap apart at least, chat between them and a line after
// the last. Алрик puts a DoT on in fight 1 that ticks again in fight 2: over the whole log the tick is
// his, in fight 2 alone nobody is known to have put it on, so it goes to the log owner.
const Lines kEvening = {
    "2026.12.09 10:00:01 : Алрик использует: Шаровая молния IV. Ледяная гарпия получает 2000 ед. урона.",
    "2026.12.09 10:00:02 : Алрик использует: Тлеющая метка II.",
    "2026.12.09 10:00:03 : Лиса использует Сотрясение I. Ледяная гарпия получает 3000 ед. урона.",
    "2026.12.09 10:00:05 : Тлеющая метка II: Ледяная гарпия получает 46 ед. урона.",
    "2026.12.09 10:00:20 : [Группа] Лиса: отдых",
    "2026.12.09 10:01:00 : Элементаль огня наносит 500 ед. урона цели Волк-вожак.",
    "2026.12.09 10:01:02 : Тлеющая метка II: Волк-вожак получает 45 ед. урона.",
    "2026.12.09 10:01:04 : Волк-вожак наносит 800 ед. урона цели Алрик.",
    "2026.12.09 10:02:00 : Лиса использует Сотрясение I. Манекен получает 1005 ед. урона.",
    "2026.12.09 10:02:10 : Алрик использует: Шаровая молния IV. Манекен получает 2000 ед. урона.",
    "2026.12.09 10:02:30 : Вы одержали победу над противником Манекен.",
};

// The lines of each fight of kEvening, counted from 1: what the log would hold had it been cleared just
// before the fight and analysed just after it.
struct LineRange {
    std::size_t first, last;
};
const std::vector<LineRange> kEveningFights = {{1, 4}, {5, 8}, {9, 10}};

const QStringList kEveningEntries = {"Весь лог", "№1  10:00:01–10:00:05  0:04  Ледяная гарпия",
                                     "№2  10:01:00–10:01:04  0:04  Волк-вожак",
                                     "№3  10:02:00–10:02:10  0:10  Манекен"};

Lines Slice(const Lines& lines, LineRange range) {
    return Lines(lines.begin() + static_cast<std::ptrdiff_t>(range.first - 1),
                 lines.begin() + static_cast<std::ptrdiff_t>(range.last));
}

// A grid's rows as "cell|cell|...", the cells as shown, in the model's column order.
QStringList Rows(const QAbstractItemModel* model) {
    QStringList rows;
    for (int row = 0; row < model->rowCount(); ++row) {
        QStringList cells;
        for (int column = 0; column < model->columnCount(); ++column) {
            const QModelIndex cell = model->index(row, column);
            const QVariant raw = cell.data(tally::ui::RawValueRole);
            // An icon column shows no text: its class number stands for it.
            cells << (cell.data().toString().isEmpty() && raw.isValid() ? raw.toString()
                                                                        : cell.data().toString());
        }
        rows << cells.join(u'|');
    }
    return rows;
}

// The rows of a character table, hidden ones too: "name total/dots".
QStringList TableRows(const tally::CharacterTable& mtList) {
    QStringList rows;
    for (const tally::CharacterRow& row : mtList.Rows())
        rows << QStringLiteral("%1 %2/%3")
                    .arg(QString::fromStdString(tally::Cp1251ToUtf8(row.charName)))
                    .arg(row.dmgAll)
                    .arg(row.charDots);
    return rows;
}

// The DoTs' last users as the reference-list window shows them.
QStringList LastUsers(const tally::DotTable& mtDots) {
    QStringList users;
    for (const tally::DotRow& row : mtDots.Rows())
        users << QString::fromStdString(tally::Cp1251ToUtf8(row.lastUsed));
    return users;
}

}  // namespace

class FightsWindowTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<Application> app_;
    QStringList boxes_;

    QString AppFile(const QString& name) const { return dir_->filePath(name); }

    void Start() {
        app_ = std::make_unique<Application>(dir_->path());
        app_->ShowMainWindow();
        QVERIFY(QTest::qWaitForWindowExposed(&Main()));
    }

    TfMain& Main() { return app_->fMain(); }
    DBGrid* Grid() { return Find<DBGrid>(&Main(), "DBGrid"); }
    QComboBox* Selector() { return Find<QComboBox>(&Main(), "cmbFights"); }
    QString Status() { return Find<QLabel>(&Main(), "StatusPanel")->text(); }
    QStringList GridRows() { return Rows(Grid()->model()); }
    QStringList StatisticsRows() { return Rows(app_->fAdvanced().grid()->model()); }

    QStringList Entries() {
        QStringList entries;
        for (int i = 0; i < Selector()->count(); ++i)
            entries << Selector()->itemText(i);
        return entries;
    }

    QString WriteLog(const QString& name, const Lines& lines) {
        const QString path = AppFile(name);
        WriteFile(path, LogBytes(lines));
        return path;
    }

    void Calculate(const QString& path) {
        auto* box = Find<QLineEdit>(&Main(), "eFN");
        box->clear();
        QTest::keyClicks(box, path);
        QTest::mouseClick(Find<QPushButton>(&Main(), "bCalc"), Qt::LeftButton);
    }

    // Picks an entry of the selector as a user does with the keyboard: opens the list, moves to the
    // entry and confirms it.
    void Choose(int entry) {
        QComboBox* selector = Selector();
        selector->showPopup();
        QAbstractItemView* list = selector->view();
        QTRY_VERIFY(list->isVisible());
        list->setCurrentIndex(list->model()->index(entry, 0));
        QTest::keyClick(list, Qt::Key_Return);
        QTRY_VERIFY(!list->isVisible());
        QCOMPARE(selector->currentIndex(), entry);
    }

    void ClickTitle(int column) {
        tally::ui::TitleHeader* header = Grid()->titleHeader();
        const QPoint centre(header->sectionViewportPosition(column) + header->sectionSize(column) / 2,
                            header->height() * 3 / 4);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, centre);
    }

    void ClickSetting(const char* name) {
        if (!app_->fSettings().isVisible())
            QTest::mouseClick(Find<QPushButton>(&Main(), "bSettings"), Qt::LeftButton);
        auto* box = Find<QAbstractButton>(&app_->fSettings(), name);
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(4, box->height() / 2));
    }

    QString Copy() {
        QGuiApplication::clipboard()->setText(QStringLiteral("what was there"));
        QTest::mouseClick(Find<QPushButton>(&Main(), "bCopy"), Qt::LeftButton);
        return QGuiApplication::clipboard()->text();
    }

  private slots:
    void init() {
        boxes_.clear();
        tally::ui::SetMessageBoxSeam([this](const MessageBoxRequest& request) { boxes_ << request.text; });
        dir_ = std::make_unique<QTemporaryDir>();
        QVERIFY(dir_->isValid());
        for (const char* list : {"dots.txt", "skills.txt"})
            QVERIFY(QFile::copy(QStringLiteral(TALLYSCOPE_RESOURCES_DIR "/") + list, AppFile(list)));
    }

    void cleanup() {
        app_.reset();
        tally::ui::SetMessageBoxSeam({});
        dir_.reset();
    }

    void selectorListsTheFightsOfTheRun_data() {
        QTest::addColumn<QList<QByteArray>>("log");  // UTF-8 lines; no lines: no file at all
        QTest::addColumn<QStringList>("entries");
        QList<QByteArray> evening;
        for (const char* line : kEvening)
            evening << line;
        QTest::newRow("an evening") << evening << kEveningEntries;
        QTest::newRow("no damage")
            << QList<QByteArray>{"2026.12.09 10:00:00 : [Группа] Лиса: пулл",
                                 "2026.12.09 10:00:01 : Вы получили предмет: Осколок силы."}
            << QStringList{"Весь лог"};
        QTest::newRow("no times")
            << QList<QByteArray>{"вчера : Лиса использует Сотрясение I. Манекен получает 10 ед. урона.",
                                 "10:00 : Лиса использует Сотрясение I. Манекен получает 20 ед. урона."}
            << QStringList{"Весь лог", "№1  Манекен"};
        QTest::newRow("no file") << QList<QByteArray>() << QStringList{"Весь лог"};
    }

    void selectorListsTheFightsOfTheRun() {
        QFETCH(QList<QByteArray>, log);
        QFETCH(QStringList, entries);
        Start();
        QCOMPARE(Entries(), QStringList({"Весь лог"}));
        Lines lines;
        for (const QByteArray& line : log)
            lines.push_back(line.constData());
        const QString path = lines.empty() ? AppFile(QStringLiteral("missing.log"))
                                           : WriteLog(QStringLiteral("Chat.log"), lines);
        Calculate(path);
        QCOMPARE(Entries(), entries);
        QCOMPARE(Selector()->currentIndex(), 0);
        QVERIFY(Selector()->isEnabled());
        QVERIFY(boxes_.isEmpty());
        // The whole log is shown as before; without a timed damage line it has no damage per second.
        QVERIFY(!Main().shownResults().ShownFight());
        if (entries.size() < 4)
            for (int row = 0; row < Grid()->model()->rowCount(); ++row)
                QCOMPARE(Grid()->model()->index(row, CharacterListModel::DpsColumn).data().toString(),
                         QString());
    }

    // The selector stands right of the version label and grows with the window, so that a wider window
    // shows more of each entry.
    void selectorStandsRightOfTheVersionLabel() {
        Start();
        QComboBox* selector = Selector();
        const QRect version = Find<QLabel>(&Main(), "lUpdate")->geometry();
        QVERIFY(selector->geometry().left() > version.right());
        QVERIFY(selector->geometry().top() <= version.center().y());
        QVERIFY(selector->geometry().bottom() >= version.center().y());
        const int right = Find<QWidget>(&Main(), "Panel")->width() - selector->geometry().right();
        const int width = selector->width();
        Main().resize(Main().width() + 100, Main().height());
        QCOMPARE(selector->width(), width + 100);
        QCOMPARE(Find<QWidget>(&Main(), "Panel")->width() - selector->geometry().right(), right);
    }

    // The strongest check: a chosen fight shows what the program shows for a log that holds only that
    // fight's lines, in the grid and in the statistics, for every switch that changes the accounting.
    void chosenFightShowsItsOwnRun_data() {
        QTest::addColumn<QList<QByteArray>>("settings");
        QTest::newRow("method 1") << QList<QByteArray>();
        QTest::newRow("method 1 with statistics") << QList<QByteArray>{"cbAdvanced"};
        QTest::newRow("method 2") << QList<QByteArray>{"rbDotsDividing"};
        QTest::newRow("mobs hidden, DoT columns shown") << QList<QByteArray>{"cbHideMobs", "cbShowDots"};
    }

    void chosenFightShowsItsOwnRun() {
        QFETCH(QList<QByteArray>, settings);
        Start();
        for (const QByteArray& setting : settings)
            ClickSetting(setting.constData());
        const bool statistics = settings.contains("cbAdvanced");

        std::vector<QStringList> alone, aloneStatistics;
        for (std::size_t fight = 0; fight < kEveningFights.size(); ++fight) {
            Calculate(WriteLog(QStringLiteral("fight%1.log").arg(fight + 1),
                               Slice(kEvening, kEveningFights[fight])));
            alone.push_back(GridRows());
            aloneStatistics.push_back(StatisticsRows());
            QVERIFY(!alone.back().isEmpty());
            QCOMPARE(aloneStatistics.back().isEmpty(), !statistics);
        }

        Calculate(WriteLog(QStringLiteral("Chat.log"), kEvening));
        const QStringList wholeLog = TableRows(Main().tables().mtList);
        const QStringList wholeLastUsers = LastUsers(Main().tables().mtDots);
        for (std::size_t fight = 0; fight < kEveningFights.size(); ++fight) {
            Choose(static_cast<int>(fight + 1));
            QVERIFY2(Status().startsWith(QStringLiteral("Готов! Время выполнения: ")), qPrintable(Status()));
            QCOMPARE(GridRows(), alone[fight]);
            QCOMPARE(StatisticsRows(), aloneStatistics[fight]);
            QCOMPARE(app_->fAdvanced().isVisible(), statistics);
            QCOMPARE(Grid()->titleHeader()->markerColumn(), int(CharacterListModel::DmgAllColumn));
            QCOMPARE(Main().shownResults().ShownFight(), std::optional<std::size_t>(fight));
            // The whole log's table is not touched, nor the DoTs' last users it found.
            QCOMPARE(TableRows(Main().tables().mtList), wholeLog);
            QCOMPARE(LastUsers(Main().tables().mtDots), wholeLastUsers);
        }
        QVERIFY(boxes_.isEmpty());
    }

    // Back on "Весь лог", the whole log's table is as the user left it, without reading the log again:
    // its rows, their order and sort marker, the current row, the statistics and the DoTs' last users.
    void wholeLogComesBackExactly() {
        Start();
        ClickSetting("cbAdvanced");
        const QString log = WriteLog(QStringLiteral("Chat.log"), kEvening);
        Calculate(log);
        ClickTitle(CharacterListModel::CharNameColumn);
        const QModelIndex third = Grid()->model()->index(2, CharacterListModel::CharNameColumn);
        QTest::mouseClick(Grid()->viewport(), Qt::LeftButton, {}, Grid()->visualRect(third).center());
        QCOMPARE(Grid()->currentIndex().row(), 2);
        const QStringList rows = GridRows();
        const QStringList statisticsRows = StatisticsRows();
        const QStringList lastUsers = LastUsers(Main().tables().mtDots);
        QVERIFY(!statisticsRows.isEmpty());

        Choose(2);
        QVERIFY(GridRows() != rows);
        QVERIFY(StatisticsRows() != statisticsRows);
        ClickTitle(CharacterListModel::CharClassColumn);
        // The log is gone: the whole log can only come back from what was kept.
        QVERIFY(QFile::remove(log));
        Choose(0);
        QCOMPARE(GridRows(), rows);
        QCOMPARE(Grid()->titleHeader()->markerColumn(), int(CharacterListModel::CharNameColumn));
        QCOMPARE(Grid()->titleHeader()->markerOrder(), Qt::AscendingOrder);
        QCOMPARE(Grid()->currentIndex().row(), 2);
        QCOMPARE(StatisticsRows(), statisticsRows);
        QVERIFY(app_->fAdvanced().isVisible());
        QCOMPARE(LastUsers(Main().tables().mtDots), lastUsers);
        QVERIFY(boxes_.isEmpty());

        // The fight chosen again is analysed again; its log is gone now.
        Choose(2);
        QCOMPARE(Status(), QStringLiteral("Файла не существует!"));
        QCOMPARE(Grid()->model()->rowCount(), 0);
    }

    void calculationShowsTheWholeLogAgain() {
        Start();
        const QString log = WriteLog(QStringLiteral("Chat.log"), kEvening);
        Calculate(log);
        const QStringList rows = GridRows();
        Choose(3);
        QVERIFY(GridRows() != rows);
        Calculate(log);
        QCOMPARE(Selector()->currentIndex(), 0);
        QCOMPARE(Entries(), kEveningEntries);
        QCOMPARE(GridRows(), rows);
        QVERIFY(!Main().shownResults().ShownFight());

        // Clearing deletes the log the fights are parts of: only the whole log is left, empty.
        Choose(1);
        QTest::mouseClick(Find<QPushButton>(&Main(), "bClear"), Qt::LeftButton);
        QCOMPARE(Entries(), QStringList({"Весь лог"}));
        QCOMPARE(Grid()->model()->rowCount(), 0);
        QVERIFY(!Main().shownResults().ShownFight());
    }

    // DmgAll over the fight's duration, or over the whole log's time in combat (4 + 4 + 10 seconds),
    // halves up; and the column sorts as the damage columns do.
    void damagePerSecondColumn() {
        Start();
        Calculate(WriteLog(QStringLiteral("Chat.log"), kEvening));
        QVERIFY(!Grid()->isColumnHidden(CharacterListModel::DpsColumn));
        auto perSecond = [this] {
            QStringList shown;
            for (int row = 0; row < Grid()->model()->rowCount(); ++row)
                shown << Grid()->model()->index(row, CharacterListModel::CharNameColumn).data().toString() +
                             QStringLiteral(" ") +
                             Grid()->model()->index(row, CharacterListModel::DpsColumn).data().toString();
            return shown;
        };
        // 4091 / 18 = 227.3, 4005 / 18 = 222.5, 800 / 18 = 44.4, 500 / 18 = 27.8.
        QCOMPARE(perSecond(), QStringList({"Алрик 227", "Лиса 223", "Волк-вожак 44", "Элементаль огня 28"}));
        ClickTitle(CharacterListModel::CharNameColumn);
        ClickTitle(CharacterListModel::DpsColumn);
        QCOMPARE(perSecond(), QStringList({"Алрик 227", "Лиса 223", "Волк-вожак 44", "Элементаль огня 28"}));
        QCOMPARE(Grid()->titleHeader()->markerColumn(), int(CharacterListModel::DpsColumn));
        QCOMPARE(Grid()->titleHeader()->markerOrder(), Qt::DescendingOrder);

        // 3000 / 4 = 750, 2046 / 4 = 511.5.
        Choose(1);
        QCOMPARE(perSecond(), QStringList({"Лиса 750", "Алрик 512"}));
        // 2000 / 10, 1005 / 10 = 100.5.
        Choose(3);
        QCOMPARE(perSecond(), QStringList({"Алрик 200", "Лиса 101"}));
        Choose(0);
        QCOMPARE(perSecond(), QStringList({"Алрик 227", "Лиса 223", "Волк-вожак 44", "Элементаль огня 28"}));
        QCOMPARE(Grid()->titleHeader()->markerColumn(), int(CharacterListModel::DpsColumn));
    }

    void copyPutsTheShownTableOnTheClipboard_data() {
        QTest::addColumn<int>("entry");
        QTest::addColumn<QString>("report");
        QTest::newRow("whole log, as ever")
            << 0
            << "Урон персонажей(в т.ч. доты):\r\nАлрик - 4091 (91)\r\nЛиса - 4005 (0)\r\n\r\r\n"
               "Урон от ГС:\r\nЭлементаль огня - 500\r\n";
        QTest::newRow("fight 1")
            << 1
            << "Урон персонажей(в т.ч. доты), бой №1 10:00:01–10:00:05 (0:04):\r\n"
               "Лиса - 3000 (0) 750 ДПС\r\nАлрик - 2046 (46) 512 ДПС\r\n\r\r\nУрон от ГС:\r\n";
        QTest::newRow("fight 2") << 2
                                 << "Урон персонажей(в т.ч. доты), бой №2 10:01:00–10:01:04 (0:04):\r\n"
                                    "ВЫ - 45 (45) 11 ДПС\r\n\r\r\nУрон от ГС:\r\nЭлементаль огня - 500\r\n";
    }

    void copyPutsTheShownTableOnTheClipboard() {
        QFETCH(int, entry);
        QFETCH(QString, report);
        Start();
        Calculate(WriteLog(QStringLiteral("Chat.log"), kEvening));
        if (entry > 0)
            Choose(entry);
        QCOMPARE(Copy(), report);
    }

    void copyOfAFightWithoutTimes() {
        Start();
        Calculate(WriteLog(QStringLiteral("Chat.log"),
                           {"вчера : Лиса использует Сотрясение I. Манекен получает 10 ед. урона.",
                            "10:00 : Лиса использует Сотрясение I. Манекен получает 20 ед. урона."}));
        Choose(1);
        QCOMPARE(Grid()->model()->index(0, CharacterListModel::DpsColumn).data().toString(), QString());
        QCOMPARE(Copy(),
                 QStringLiteral(
                     "Урон персонажей(в т.ч. доты), бой №1:\r\nЛиса - 30 (0)\r\n\r\r\nУрон от ГС:\r\n"));
    }

    void mobFilterReachesTheShownAndTheKeptTables() {
        Start();
        Calculate(WriteLog(QStringLiteral("Chat.log"), kEvening));
        Choose(2);
        QCOMPARE(Grid()->model()->rowCount(), 3);
        ClickSetting("cbHideMobs");
        QCOMPARE(Grid()->model()->rowCount(), 2);  // Волк-вожак, class 0, is hidden
        Choose(0);
        QCOMPARE(Grid()->model()->rowCount(), 3);  // of the four, Волк-вожак again
        ClickSetting("cbHideMobs");
        QCOMPARE(Grid()->model()->rowCount(), 4);
        Choose(2);
        QCOMPARE(Grid()->model()->rowCount(), 3);
    }

    // A run that stops at a line that cannot be read: the fights found up to it are listed, and a fight's
    // own run stops at the same line.
    void runStoppedByAnErrorListsTheFightsFound() {
        Start();
        Lines lines = Slice(kEvening, {1, 8});
        lines.insert(lines.begin() + 6, "2026.12.09 10:01:01 : Алрик наносит много ед. урона.");
        Calculate(WriteLog(QStringLiteral("Chat.log"), lines));
        QCOMPARE(boxes_, QStringList({"'' is not a valid integer value."}));
        QCOMPARE(Entries(), QStringList({"Весь лог", "№1  10:00:01–10:00:05  0:04  Ледяная гарпия",
                                         "№2  10:01:00–10:01:01  0:01"}));
        QVERIFY(Selector()->isEnabled());

        Choose(1);
        QCOMPARE(boxes_.size(), 1);
        QCOMPARE(Grid()->model()->rowCount(), 2);
        Choose(2);
        QCOMPARE(boxes_.size(), 2);
        QCOMPARE(Status(), QString::fromUtf8(TfMain::kRunStopped));
        QVERIFY(Selector()->isEnabled());
        QVERIFY(Find<QPushButton>(&Main(), "bCalc")->isEnabled());
        QCOMPARE(GridRows().size(), 1);  // the summon booked before the bad line
    }

    // The idle gap from the settings file: fight 2 starts 55 seconds after fight 1, fight 3 56 seconds
    // after fight 2.
    void gapFromTheSettingsFile_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<int>("fights");
        QTest::addColumn<int>("written");
        QTest::newRow("no key") << QByteArray() << 3 << 30;
        QTest::newRow("54") << QByteArray("[FIGHTS]\r\nFightGap=54\r\n") << 3 << 54;
        QTest::newRow("55") << QByteArray("[FIGHTS]\r\nFightGap=55\r\n") << 2 << 55;
        QTest::newRow("60") << QByteArray("[FIGHTS]\r\nFightGap=60\r\n") << 1 << 60;
        QTest::newRow("negative") << QByteArray("[FIGHTS]\r\nFightGap=-1\r\n") << 3 << 30;
    }

    void gapFromTheSettingsFile() {
        QFETCH(QByteArray, file);
        QFETCH(int, fights);
        QFETCH(int, written);
        if (!file.isEmpty())
            WriteFile(AppFile(QStringLiteral("options.ini")), file);
        Start();
        Calculate(WriteLog(QStringLiteral("Chat.log"), kEvening));
        QCOMPARE(Selector()->count(), fights + 1);
        QVERIFY(Main().close());
        const tally::ui::ProfileFile settings(AppFile(QStringLiteral("options.ini")));
        QCOMPARE(settings.ReadInteger(u"FIGHTS", u"FightGap", -2), written);
    }

    void gapFromTheSettingsWindowTakesEffectAtTheNextCalculation() {
        Start();
        const QString log = WriteLog(QStringLiteral("Chat.log"), kEvening);
        Calculate(log);
        QCOMPARE(Selector()->count(), 4);
        QTest::mouseClick(Find<QPushButton>(&Main(), "bSettings"), Qt::LeftButton);
        auto* gap = Find<QSpinBox>(&app_->fSettings(), "seFightGap");
        QCOMPARE(gap->value(), 30);
        gap->setFocus();
        gap->selectAll();
        QTest::keyClicks(gap, "55");
        QCOMPARE(app_->fightSettings().fightGap, 55);
        QCOMPARE(Selector()->count(), 4);
        Calculate(log);
        QCOMPARE(Entries(), QStringList({"Весь лог", "№1  10:00:01–10:01:04  1:03  Ледяная гарпия",
                                         "№2  10:02:00–10:02:10  0:10  Манекен"}));
    }
};

TALLY_GUI_TEST_MAIN(FightsWindowTest)
#include "fights_window_test.moc"
