// Following the log in the desktop program end to end: the test writes the log in steps as the game
// does, and the main window shows the fight in progress, grows the fight selector, starts again when
// the log does, waits for a log that is not there, counts afresh after "Новый замер", and, followed to
// its end, shows for "Весь лог" what "Расчитать" shows.

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
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
#include "gui_test_main.h"
#include "live/log_watch.h"
#include "models/character_list_model.h"
#include "models/linked_table_model.h"
#include "settings/profile_file.h"
#include "windows/uAdvanced.h"
#include "windows/uMain.h"
#include "windows/uSettings.h"

using tally::ui::test::FileLines;
using tally::ui::test::Find;
using tally::ui::test::Lines;
using tally::ui::test::LogBytes;
using tally::ui::test::WriteFile;

using tally::ui::Application;
using tally::ui::DBGrid;
using tally::ui::LogWatch;
using tally::ui::MessageBoxRequest;
using tally::ui::TfMain;

namespace {

// Two fights 55 seconds apart, then a third after another idle gap. Алрик's DoT of fight 1 ticks
// again in fight 2, where nobody is known to have put it on: the tick goes to the log owner there.
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
};

// Lines first..last of kEvening, counted from 1.
Lines Slice(std::size_t first, std::size_t last) {
    return Lines(kEvening.begin() + static_cast<std::ptrdiff_t>(first - 1),
                 kEvening.begin() + static_cast<std::ptrdiff_t>(last));
}

// A grid's rows as "cell|cell|...", the cells as shown, icon columns as their class number.
QStringList Rows(const QAbstractItemModel* model) {
    QStringList rows;
    for (int row = 0; row < model->rowCount(); ++row) {
        QStringList cells;
        for (int column = 0; column < model->columnCount(); ++column) {
            const QModelIndex cell = model->index(row, column);
            const QVariant raw = cell.data(tally::ui::RawValueRole);
            cells << (cell.data().toString().isEmpty() && raw.isValid() ? raw.toString()
                                                                        : cell.data().toString());
        }
        rows << cells.join(u'|');
    }
    return rows;
}

void Append(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly | QIODevice::Append), qPrintable(path));
    QCOMPARE(file.write(bytes), bytes.size());
}

// What the main grid and the statistics window show.
struct Shown {
    QStringList grid;
    QStringList statistics;
    bool operator==(const Shown&) const = default;
};

}  // namespace

namespace QTest {
template <>
char* toString(const Shown& shown) {
    return qstrdup(
        qPrintable(shown.grid.join(u'\n') + QStringLiteral("\n--\n") + shown.statistics.join(u'\n')));
}
}  // namespace QTest

class LiveWindowTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<Application> app_;
    QStringList boxes_;

    QString AppFile(const QString& name) const { return dir_->filePath(name); }
    QString LogPath() const { return AppFile(QStringLiteral("Chat.log")); }

    // Starts the program with a short follow interval, so that the tests wait little.
    void Start(const QByteArray& fights = "FollowInterval=100\r\n") {
        WriteFile(AppFile(QStringLiteral("options.ini")), "[FIGHTS]\r\n" + fights);
        app_ = std::make_unique<Application>(dir_->path());
        app_->ShowMainWindow();
        QVERIFY(QTest::qWaitForWindowExposed(&Main()));
    }

    TfMain& Main() { return app_->fMain(); }
    DBGrid* Grid() { return Find<DBGrid>(&Main(), "DBGrid"); }
    QComboBox* Selector() { return Find<QComboBox>(&Main(), "cmbFights"); }
    QCheckBox* FollowBox() { return Find<QCheckBox>(&Main(), "cbFollow"); }
    QPushButton* NewMeasurement() { return Find<QPushButton>(&Main(), "bNewMeasure"); }
    QString Status() { return Find<QLabel>(&Main(), "StatusPanel")->text(); }
    Shown Now() { return {Rows(Grid()->model()), Rows(app_->fAdvanced().grid()->model())}; }

    QStringList Entries() {
        QStringList entries;
        for (int i = 0; i < Selector()->count(); ++i)
            entries << Selector()->itemText(i);
        return entries;
    }

    void TypePath(const QString& path) {
        auto* box = Find<QLineEdit>(&Main(), "eFN");
        box->clear();
        QTest::keyClicks(box, path);
    }

    void Calculate(const QString& path) {
        TypePath(path);
        QTest::mouseClick(Find<QPushButton>(&Main(), "bCalc"), Qt::LeftButton);
    }

    // What "Расчитать" shows for a log of these lines alone.
    Shown CalculatedAlone(const Lines& lines) {
        const QString path = AppFile(QStringLiteral("alone.log"));
        WriteFile(path, LogBytes(lines));
        Calculate(path);
        return Now();
    }

    void ClickFollow() {
        QTest::mouseClick(FollowBox(), Qt::LeftButton, {}, QPoint(4, FollowBox()->height() / 2));
    }

    void Follow(const QString& path) {
        TypePath(path);
        QVERIFY(!FollowBox()->isChecked());
        ClickFollow();
        QVERIFY(FollowBox()->isChecked());
        QVERIFY(Main().logWatch().IsFollowing());
    }

    void ClickSetting(const char* name) {
        if (!app_->fSettings().isVisible())
            QTest::mouseClick(Find<QPushButton>(&Main(), "bSettings"), Qt::LeftButton);
        auto* box = Find<QAbstractButton>(&app_->fSettings(), name);
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(4, box->height() / 2));
    }

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

    // The log grows as the game writes it: whole lines, a line whose end comes in a later write, and a
    // new fight after an idle gap. The fight in progress shows what "Расчитать" shows for its lines
    // alone; followed to the end, "Весь лог" shows what "Расчитать" shows for the whole file.
    void followsAGrowingLog_data() {
        QTest::addColumn<QList<QByteArray>>("settings");
        QTest::newRow("method 1") << QList<QByteArray>();
        QTest::newRow("method 1 with statistics") << QList<QByteArray>{"cbAdvanced"};
        QTest::newRow("method 2") << QList<QByteArray>{"rbDotsDividing"};
        QTest::newRow("mobs hidden") << QList<QByteArray>{"cbHideMobs"};
    }

    void followsAGrowingLog() {
        QFETCH(QList<QByteArray>, settings);
        Start();
        for (const QByteArray& setting : settings)
            ClickSetting(setting.constData());
        const Shown first = CalculatedAlone(Slice(1, 2));
        const Shown firstThree = CalculatedAlone(Slice(1, 3));
        const Shown fight1 = CalculatedAlone(Slice(1, 4));
        const Shown fight2 = CalculatedAlone(Slice(5, 8));
        const Shown fight3 = CalculatedAlone(Slice(9, 10));

        WriteFile(LogPath(), LogBytes(Slice(1, 2)));
        Follow(LogPath());
        QCOMPARE(Selector()->currentText(), QStringLiteral("Текущий бой"));
        QTRY_COMPARE(Now(), first);
        QVERIFY(NewMeasurement()->isEnabled());

        // A line cut in the middle counts only once its line end is there.
        const QByteArray fourth = LogBytes(Slice(4, 4));
        Append(LogPath(), LogBytes(Slice(3, 3)) + fourth.left(fourth.size() / 2));
        QTRY_COMPARE(Now(), firstThree);
        QTest::qWait(300);
        QCOMPARE(Now(), firstThree);
        Append(LogPath(), fourth.mid(fourth.size() / 2));
        QTRY_COMPARE(Now(), fight1);
        QCOMPARE(Entries(),
                 QStringList({"Текущий бой", "Весь лог", "№1  10:00:01–10:00:05  0:04  Ледяная гарпия"}));

        // A damage line after the idle gap starts fight 2: the fight in progress is that one alone, and
        // the selector grows without losing the user's choice.
        Append(LogPath(), LogBytes(Slice(5, 8)));
        QTRY_COMPARE(Now(), fight2);
        QCOMPARE(Entries(),
                 QStringList({"Текущий бой", "Весь лог", "№1  10:00:01–10:00:05  0:04  Ледяная гарпия",
                              "№2  10:01:00–10:01:04  0:04  Волк-вожак"}));
        QCOMPARE(Selector()->currentIndex(), 0);

        // A finished fight is run on its own, as after a calculation; new lines leave it shown.
        Choose(2);
        QCOMPARE(Now(), fight1);
        Append(LogPath(), LogBytes(Slice(9, 10)));
        QTRY_COMPARE(Selector()->count(), 5);
        QCOMPARE(Selector()->currentIndex(), 2);
        QCOMPARE(Now(), fight1);

        Choose(1);
        const Shown followed = Now();
        QVERIFY(!followed.grid.isEmpty());
        Calculate(LogPath());
        QCOMPARE(Now(), followed);
        QCOMPARE(Selector()->currentIndex(), 1);
        QVERIFY(boxes_.isEmpty());

        // Following went on through the calculation of the same log.
        Choose(0);
        QCOMPARE(Now(), fight3);
    }

    // "Новый замер": the fight in progress counts only what is written after the press; the whole log
    // keeps every line.
    void newMeasurementCountsOnlyLaterLines() {
        Start();
        const Shown later = CalculatedAlone(Slice(3, 4));
        const Shown whole = CalculatedAlone(Slice(1, 4));
        QVERIFY(!NewMeasurement()->isEnabled());
        WriteFile(LogPath(), LogBytes(Slice(1, 2)));
        Follow(LogPath());
        QTRY_VERIFY(Grid()->model()->rowCount() > 0);

        QTest::mouseClick(NewMeasurement(), Qt::LeftButton);
        QCOMPARE(Grid()->model()->rowCount(), 0);
        QCOMPARE(Selector()->currentIndex(), 0);
        Append(LogPath(), LogBytes(Slice(3, 4)));
        QTRY_COMPARE(Now(), later);
        QCOMPARE(FileLines(LogPath()).size(), 4);  // the log itself is untouched

        Choose(1);
        QCOMPARE(Now(), whole);
    }

    // The log starts again: cut by the game, replaced by another file, or deleted by the clear button
    // and written anew. Following goes on from the new file's beginning and says so.
    void logStartedAnewIsFollowedFromItsBeginning_data() {
        QTest::addColumn<QString>("how");
        QTest::addColumn<int>("entry");  // chosen before: 1 the whole log, 2 a fight of the old log
        QTest::newRow("truncated") << "truncated" << 2;
        QTest::newRow("truncated, whole log shown") << "truncated" << 1;
        QTest::newRow("replaced") << "replaced" << 2;
        QTest::newRow("cleared") << "cleared" << 2;
    }

    void logStartedAnewIsFollowedFromItsBeginning() {
        QFETCH(QString, how);
        QFETCH(int, entry);
        Start();
        const Shown fresh = CalculatedAlone(Slice(9, 10));
        WriteFile(LogPath(), LogBytes(Slice(1, 8)));
        Follow(LogPath());
        QTRY_COMPARE(Selector()->count(), 4);
        Choose(entry);  // what the old log showed goes away with it

        if (how == "truncated") {
            QFile file(LogPath());
            QVERIFY(file.open(QIODevice::ReadWrite));
            QVERIFY(file.resize(0));
            file.close();
            Append(LogPath(), LogBytes(Slice(9, 10)));
        } else if (how == "replaced") {
#ifdef Q_OS_WIN
            QSKIP(
                "Wine keeps a deleted log's name while the follower holds it, so nothing can be moved there");
#endif
            WriteFile(AppFile(QStringLiteral("new.log")), LogBytes(Slice(9, 10)));
            QVERIFY(QFile::remove(LogPath()));
            QVERIFY(QFile::rename(AppFile(QStringLiteral("new.log")), LogPath()));
        } else {
            QTest::mouseClick(Find<QPushButton>(&Main(), "bClear"), Qt::LeftButton);
            QVERIFY(!QFile::exists(LogPath()));
            QTRY_COMPARE(Status(), QString::fromUtf8(LogWatch::kMissing));
            QCOMPARE(Grid()->model()->rowCount(), 0);
            WriteFile(LogPath(), LogBytes(Slice(9, 10)));
        }
        QTRY_COMPARE(Now(), fresh);
        QCOMPARE(Status(), QString::fromUtf8(LogWatch::kRestarted));
        QCOMPARE(Entries(), QStringList({"Текущий бой", "Весь лог", "№1  10:02:00–10:02:10  0:10  Манекен"}));
        QCOMPARE(Selector()->currentIndex(), 0);
        QVERIFY(Main().shownResults().CurrentFightShown());  // as the selector says
        QVERIFY(boxes_.isEmpty());
    }

    // A log that is not there yet: said in the status bar, without a box, and picked up once it appears.
    void missingLogIsAwaited() {
        Start();
        const Shown fight1 = CalculatedAlone(Slice(1, 4));
        Follow(LogPath());
        QTRY_COMPARE(Status(), QString::fromUtf8(LogWatch::kMissing));
        QCOMPARE(Grid()->model()->rowCount(), 0);
        WriteFile(LogPath(), LogBytes(Slice(1, 4)));
        QTRY_COMPARE(Now(), fight1);
        QCOMPARE(Status(), QString::fromUtf8(LogWatch::kFollowing));
        QVERIFY(boxes_.isEmpty());
    }

    // Turned off, following stops reading and leaves what is shown; "Весь лог" is the followed log.
    void followOffLeavesWhatIsShown() {
        Start();
        const Shown fight1 = CalculatedAlone(Slice(1, 4));
        const Shown whole = CalculatedAlone(Slice(1, 8));
        WriteFile(LogPath(), LogBytes(Slice(1, 4)));
        Follow(LogPath());
        QTRY_COMPARE(Now(), fight1);
        ClickFollow();
        QVERIFY(!Main().logWatch().IsFollowing());
        QVERIFY(!NewMeasurement()->isEnabled());
        Append(LogPath(), LogBytes(Slice(5, 8)));
        QTest::qWait(300);
        QCOMPARE(Now(), fight1);
        QCOMPARE(Selector()->count(), 3);
        Choose(1);
        QCOMPARE(Now(), fight1);  // the whole log as far as it was followed: fight 1
        Calculate(LogPath());
        QCOMPARE(Now(), whole);
        // The calculation's fights, without the followed log's fight in progress.
        QCOMPARE(Entries(), QStringList({"Весь лог", "№1  10:00:01–10:00:05  0:04  Ледяная гарпия",
                                         "№2  10:01:00–10:01:04  0:04  Волк-вожак"}));
    }

    // The switch lives in [FIGHTS] of options.ini: started with it on, the program follows the log of
    // the path box at once; it is written back as it was left.
    void followSwitchRoundTripsThroughTheSettingsFile_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<bool>("on");
        QTest::addColumn<bool>("click");
        QTest::addColumn<int>("written");  // -1: no Follow key
        QTest::newRow("never followed") << QByteArray() << false << false << -1;
        QTest::newRow("switched on") << QByteArray() << false << true << 1;
        QTest::newRow("on") << QByteArray("Follow=1\r\n") << true << false << 1;
        QTest::newRow("switched off") << QByteArray("Follow=1\r\n") << true << true << 0;
        QTest::newRow("unreadable") << QByteArray("Follow=yes\r\n") << false << false << 0;
        QTest::newRow("not 1") << QByteArray("Follow=2\r\n") << false << false << 0;
    }

    void followSwitchRoundTripsThroughTheSettingsFile() {
        QFETCH(QByteArray, file);
        QFETCH(bool, on);
        QFETCH(bool, click);
        QFETCH(int, written);
        WriteFile(LogPath(), LogBytes(Slice(1, 4)));
        WriteFile(
            AppFile(QStringLiteral("options.ini")),
            "[OPTIONS]\r\nPath=" + LogPath().toUtf8() + "\r\n[FIGHTS]\r\nFollowInterval=100\r\n" + file);
        app_ = std::make_unique<Application>(dir_->path());
        app_->ShowMainWindow();
        QCOMPARE(FollowBox()->isChecked(), on);
        QCOMPARE(Main().logWatch().IsFollowing(), on);
        if (on)
            QTRY_COMPARE(Grid()->model()->rowCount(), 2);
        if (click)
            ClickFollow();
        QCOMPARE(Main().logWatch().IsFollowing(), on != click);
        QVERIFY(Main().close());
        const tally::ui::ProfileFile settings(AppFile(QStringLiteral("options.ini")));
        QCOMPARE(settings.ReadInteger(u"FIGHTS", u"Follow", -1), written);
        QCOMPARE(settings.ReadInteger(u"FIGHTS", u"FollowInterval", -1), 100);  // the user's, kept
        QVERIFY(boxes_.isEmpty());
    }

    // A refresh of the fight in progress leaves the main grid and the statistics where the user
    // scrolled them, however many rows there are, and keeps the row the user chose.
    void aRefreshKeepsTheGridsWhereTheUserScrolledThem() {
        Start();
        ClickSetting("cbAdvanced");
        std::vector<std::string> texts;
        for (int i = 1; i <= 60; ++i)
            texts.push_back("2026.12.09 10:00:01 : Боец" + std::to_string(i) +
                            " использует: Шаровая молния IV. Манекен получает " + std::to_string(100 * i) +
                            " ед. урона.");
        Lines lines;
        for (const std::string& text : texts)
            lines.push_back(text.c_str());
        WriteFile(LogPath(), LogBytes(lines));
        Follow(LogPath());
        QTRY_COMPARE(Grid()->model()->rowCount(), 60);
        QScrollBar* scroll = Grid()->verticalScrollBar();
        QVERIFY(scroll->maximum() > 10);
        Grid()->setCurrentIndex(Grid()->model()->index(3, 1));
        scroll->setValue(scroll->maximum() / 2);
        const int scrolled = scroll->value();
        QScrollBar* statisticsScroll = app_->fAdvanced().grid()->verticalScrollBar();
        QVERIFY(statisticsScroll->maximum() > 10);
        statisticsScroll->setValue(statisticsScroll->maximum() / 3);
        const int statisticsScrolled = statisticsScroll->value();
        const QString current = Grid()->currentIndex().siblingAtColumn(1).data().toString();

        Append(LogPath(), LogBytes({"2026.12.09 10:00:02 : Боец1 использует: Шаровая молния IV. Манекен "
                                    "получает 7 ед. урона."}));
        QTRY_VERIFY(Rows(Grid()->model()).join(u'\n').contains(QStringLiteral("Боец1|107|")));
        QTest::qWait(300);  // and after the refreshes that find nothing new
        QCOMPARE(scroll->value(), scrolled);
        QCOMPARE(statisticsScroll->value(), statisticsScrolled);
        QCOMPARE(Grid()->currentIndex().siblingAtColumn(1).data().toString(), current);
    }

    // The check box and the new-measurement button stand in the panel without covering another control.
    void followControlsOverlapNothing() {
        Start();
        const QWidget* panel = Find<QWidget>(&Main(), "Panel");
        std::vector<QWidget*> controls;
        for (QWidget* child : panel->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            if (child->isVisible())
                controls.push_back(child);
        for (const char* name : {"cbFollow", "bNewMeasure"}) {
            QWidget* control = Find<QWidget>(&Main(), name);
            QVERIFY(panel->rect().contains(control->geometry()));
#ifndef Q_OS_WIN
            // Under Wine the stand-in for the layout's font is wider than the font itself; there the
            // switch has all the room up to the button.
            QVERIFY(control->width() >= control->sizeHint().width());
#endif
            for (QWidget* other : controls)
                if (other != control)
                    QVERIFY2(!other->geometry().intersects(control->geometry()),
                             qPrintable(other->objectName()));
        }
    }
};

TALLY_GUI_TEST_MAIN(LiveWindowTest)
#include "live_window_test.moc"
