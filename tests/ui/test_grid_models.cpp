// The grid models over the four tables: following the table through every kind of change, the row
// filter, the data link, the shown texts and the editing of the statistics.

#include <QAbstractItemModelTester>
#include <QLocale>
#include <functional>

#include "gui_test_main.h"
#include "models/character_list_model.h"
#include "models/reference_list_models.h"
#include "models/skill_stat_model.h"
#include "table_fixtures.h"

using namespace tally;
using namespace tally::test;
using tally::ui::CharacterListModel;
using tally::ui::SkillStatModel;

namespace {

QStringList ShownNames(const QAbstractItemModel& model, int nameColumn) {
    QStringList names;
    for (int row = 0; row < model.rowCount(); ++row)
        names << model.index(row, nameColumn).data().toString();
    return names;
}

void FillList(CharacterTable& mtList) {
    mtList.Append(Character(0, "Манекен", 4000));
    mtList.Append(Character(8, "Лиана", 13130, 2100));
    mtList.Append(Character(0, "Страж", 700));
    mtList.Append(Character(2, "ВЫ", 9800));
    mtList.Append(Character(12, "Элементаль огня", 1200));
}

}  // namespace

class GridModelsTest : public QObject {
    Q_OBJECT

  private slots:
    void characterModelFollowsTheTable();
    void linkOffShowsNothingAndLinkOnShowsTheTable();
    void currentRowFollowsTheTable();
    void criticalIsShownWithTwoDecimals_data();
    void criticalIsShownWithTwoDecimals();
    void numbersAndIconColumnsShowTheirValues();
    void damagePerSecondIsTheTotalOverTheTimeInCombat_data();
    void damagePerSecondIsTheTotalOverTheTimeInCombat();
    void modelTurnsToAnotherTable();
    void skillStatCellsTakeValidValuesOnly_data();
    void skillStatCellsTakeValidValuesOnly();
    void skillStatRowsCanBeInsertedAndRemoved();
    void referenceListModelsFollowTheirTables();
};

void GridModelsTest::characterModelFollowsTheTable() {
    // Each case starts from the five rows of FillList with the filter on, so that "Манекен" and
    // "Страж" (class 0) are hidden, and changes the table once.
    struct Case {
        const char* name;
        std::function<void(CharacterTable&)> change;
        QStringList shown;
    };
    const std::vector<Case> cases = {
        {"nothing", [](CharacterTable&) {}, {"Лиана", "ВЫ", "Элементаль огня"}},
        {"append hidden",
         [](CharacterTable& t) { t.Append(Character(0, "Моб", 1)); },
         {"Лиана", "ВЫ", "Элементаль огня"}},
        {"append shown",
         [](CharacterTable& t) { t.Append(Character(3, "Ария", 1)); },
         {"Лиана", "ВЫ", "Элементаль огня", "Ария"}},
        {"insert shown at top",
         [](CharacterTable& t) { t.Insert(0, Character(3, "Ария", 1)); },
         {"Ария", "Лиана", "ВЫ", "Элементаль огня"}},
        {"insert hidden between",
         [](CharacterTable& t) { t.Insert(2, Character(0, "Моб", 1)); },
         {"Лиана", "ВЫ", "Элементаль огня"}},
        {"remove hidden", [](CharacterTable& t) { t.Remove(2); }, {"Лиана", "ВЫ", "Элементаль огня"}},
        {"remove shown", [](CharacterTable& t) { t.Remove(3); }, {"Лиана", "Элементаль огня"}},
        {"class 0 becomes 4",
         [](CharacterTable& t) {
             CharacterRow row = t.At(2);
             row.charClass = 4;
             t.Set(2, row);
         },
         {"Лиана", "Страж", "ВЫ", "Элементаль огня"}},
        {"class 8 becomes 0",
         [](CharacterTable& t) {
             CharacterRow row = t.At(1);
             row.charClass = 0;
             t.Set(1, row);
         },
         {"ВЫ", "Элементаль огня"}},
        {"damage of a shown row",
         [](CharacterTable& t) { t.Update(3, [](CharacterRow& row) { row.dmgAll = 1; }); },
         {"Лиана", "ВЫ", "Элементаль огня"}},
        {"sort by name",
         [](CharacterTable& t) { t.Sort("CharName Asc"); },
         {"ВЫ", "Лиана", "Элементаль огня"}},
        {"filter off",
         [](CharacterTable& t) { t.SetFiltered(false); },
         {"Манекен", "Лиана", "Страж", "ВЫ", "Элементаль огня"}},
        {"clear", [](CharacterTable& t) { t.Clear(); }, {}},
    };
    for (const Case& c : cases) {
        CharacterTable mtList;
        FillList(mtList);
        mtList.SetFiltered(true);
        CharacterListModel model(mtList);
        model.setLinked(true);
        QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
        c.change(mtList);
        QVERIFY2(ShownNames(model, CharacterListModel::CharNameColumn) == c.shown, c.name);
        // Every row shows the values of the table row it stands for.
        for (int row = 0; row < model.rowCount(); ++row) {
            const CharacterRow& tableRow = mtList.At(model.position(row));
            QCOMPARE(model.index(row, CharacterListModel::DmgAllColumn).data().toString(),
                     QString::number(tableRow.dmgAll));
        }
    }
}

void GridModelsTest::linkOffShowsNothingAndLinkOnShowsTheTable() {
    CharacterTable mtList;
    FillList(mtList);
    CharacterListModel model(mtList);
    QCOMPARE(model.rowCount(), 0);  // a model shows nothing until a data link switches it on
    model.setLinked(true);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    QCOMPARE(model.rowCount(), 5);

    model.setLinked(false);
    QCOMPARE(model.rowCount(), 0);
    // Unlinked, the model does not follow the table.
    QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
    QSignalSpy reset(&model, &QAbstractItemModel::modelReset);
    mtList.Clear();
    mtList.Append(Character(5, "Ария", 10));
    mtList.Append(Character(6, "Борей", 20));
    QCOMPARE(inserted.count(), 0);
    QCOMPARE(reset.count(), 0);
    QCOMPARE(model.rowCount(), 0);

    model.setLinked(true);
    QCOMPARE(ShownNames(model, CharacterListModel::CharNameColumn), QStringList({"Ария", "Борей"}));
}

void GridModelsTest::currentRowFollowsTheTable() {
    CharacterTable mtList;
    FillList(mtList);
    mtList.SetFiltered(true);
    CharacterListModel model(mtList);
    model.setLinked(true);
    QSignalSpy current(&model, &ui::LinkedTableModel::currentRowChanged);

    mtList.SetCurrent(3);  // "ВЫ", the second row shown
    QCOMPARE(current.count(), 1);
    QCOMPARE(current.takeFirst().at(0).toInt(), 1);
    QCOMPARE(model.currentRow(), 1);

    model.setCurrentRow(2);
    QCOMPARE(mtList.Current(), std::size_t{4});

    mtList.SetCurrent(0);  // a hidden row
    QCOMPARE(model.currentRow(), -1);

    // Switched on again, the model reports the table's current row.
    mtList.SetCurrent(1);
    model.setLinked(false);
    current.clear();
    model.setLinked(true);
    QCOMPARE(current.count(), 1);
    QCOMPARE(current.takeFirst().at(0).toInt(), 0);
}

void GridModelsTest::criticalIsShownWithTwoDecimals_data() {
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QVariant>("critical");
    QTest::addColumn<QString>("shown");
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    const QLocale russian(QLocale::Russian, QLocale::Russia);
    QTest::newRow("none") << english << QVariant() << QString();
    QTest::newRow("zero") << english << QVariant(0LL) << "0.00";
    QTest::newRow("one in three") << english << QVariant(333333LL) << "33.33";
    QTest::newRow("two in three") << english << QVariant(666667LL) << "66.67";
    QTest::newRow("one in 128") << english << QVariant(7812LL) << "0.78";
    QTest::newRow("three in 128") << english << QVariant(23438LL) << "2.34";
    QTest::newRow("all") << english << QVariant(1000000LL) << "100.00";
    QTest::newRow("comma separator") << russian << QVariant(333333LL) << "33,33";
}

void GridModelsTest::criticalIsShownWithTwoDecimals() {
    QFETCH(QLocale, locale);
    QFETCH(QVariant, critical);
    QFETCH(QString, shown);
    const QLocale previous;
    QLocale::setDefault(locale);
    CharacterTable mtList;
    mtList.Append(
        Character(1, "Ария", 10, 0,
                  critical.isValid() ? std::optional<long long>(critical.toLongLong()) : std::nullopt));
    CharacterListModel model(mtList);
    QLocale::setDefault(previous);
    model.setLinked(true);
    QCOMPARE(model.index(0, CharacterListModel::CriticalColumn).data().toString(), shown);
}

void GridModelsTest::numbersAndIconColumnsShowTheirValues() {
    CharacterTable mtList;
    mtList.Append(Character(12, "Элементаль огня", -15, 2100));
    CharacterListModel model(mtList);
    model.setLinked(true);
    const QModelIndex icon = model.index(0, CharacterListModel::CharClassColumn);
    QCOMPARE(icon.data(Qt::DisplayRole).toString(), QString());  // an icon column shows no text
    QCOMPARE(icon.data(ui::RawValueRole).toLongLong(), 12);
    QCOMPARE(model.index(0, CharacterListModel::CharDamageColumn).data().toString(), QString("-15"));
    QCOMPARE(model.index(0, CharacterListModel::CharDotsColumn).data().toString(), QString("2100"));
    QCOMPARE(model.index(0, CharacterListModel::DmgAllColumn).data().toString(), QString("2085"));
    QCOMPARE(model.headerData(CharacterListModel::DmgAllColumn, Qt::Horizontal).toString(),
             QString("Урон|Обший"));
    QCOMPARE(
        model.headerData(CharacterListModel::CriticalColumn, Qt::Horizontal, ui::FieldNameRole).toString(),
        QString("Critical"));
}

void GridModelsTest::damagePerSecondIsTheTotalOverTheTimeInCombat_data() {
    QTest::addColumn<qlonglong>("damage");
    QTest::addColumn<qlonglong>("seconds");  // -1: none
    QTest::addColumn<QString>("shown");
    QTest::newRow("no time in combat") << 4005LL << -1LL << "";
    QTest::newRow("zero seconds") << 4005LL << 0LL << "";
    QTest::newRow("whole") << 2000LL << 4LL << "500";
    QTest::newRow("rounded down") << 45LL << 4LL << "11";
    QTest::newRow("half goes up") << 4005LL << 18LL << "223";
    QTest::newRow("below one") << 1LL << 3LL << "0";
    QTest::newRow("negative half goes up") << -5LL << 2LL << "-2";
}

void GridModelsTest::damagePerSecondIsTheTotalOverTheTimeInCombat() {
    QFETCH(qlonglong, damage);
    QFETCH(qlonglong, seconds);
    QFETCH(QString, shown);
    CharacterTable mtList;
    mtList.Append(Character(1, "Ария", damage));
    CharacterListModel model(mtList);
    model.setLinked(true);
    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
    model.setCombatSeconds(seconds < 0 ? std::nullopt : std::optional<std::int64_t>(seconds));
    const QModelIndex cell = model.index(0, CharacterListModel::DpsColumn);
    QCOMPARE(cell.data().toString(), shown);
    QCOMPARE(cell.data(ui::RawValueRole).isValid(), !shown.isEmpty());
    // A change of the seconds repaints the column.
    QCOMPARE(changed.isEmpty(), seconds < 0);
    QCOMPARE(model.headerData(CharacterListModel::DpsColumn, Qt::Horizontal).toString(), QString("Урон|ДПС"));
}

void GridModelsTest::modelTurnsToAnotherTable() {
    CharacterTable wholeLog;
    FillList(wholeLog);
    wholeLog.SetFiltered(true);
    CharacterTable fight;
    fight.Append(Character(5, "Ария", 10));
    fight.Append(Character(0, "Моб", 20));
    fight.SetCurrent(1);
    CharacterListModel model(wholeLog);
    model.setLinked(true);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    QSignalSpy current(&model, &ui::LinkedTableModel::currentRowChanged);

    model.setTable(fight);
    QCOMPARE(ShownNames(model, CharacterListModel::CharNameColumn), QStringList({"Ария", "Моб"}));
    QCOMPARE(current.count(), 1);
    QCOMPARE(current.takeFirst().at(0).toInt(), 1);
    // It follows the new table and no longer the old one.
    fight.Append(Character(6, "Борей", 5));
    wholeLog.Clear();
    QCOMPARE(ShownNames(model, CharacterListModel::CharNameColumn), QStringList({"Ария", "Моб", "Борей"}));

    // Unlinked, it takes the table but shows it only once linked again.
    model.setLinked(false);
    FillList(wholeLog);
    model.setTable(wholeLog);
    QCOMPARE(model.rowCount(), 0);
    model.setLinked(true);
    QCOMPARE(ShownNames(model, CharacterListModel::CharNameColumn),
             QStringList({"Лиана", "ВЫ", "Элементаль огня"}));
}

void GridModelsTest::skillStatCellsTakeValidValuesOnly_data() {
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<QString>("shown");
    // The row starts as Ария / Ледяной шип / 5 attacks / 2 crits / 1500 damage / class 6.
    QTest::newRow("count") << int(SkillStatModel::AttCntColumn) << "12" << true << "12";
    QTest::newRow("count blanks") << int(SkillStatModel::AttCntColumn) << " 7 " << true << "7";
    QTest::newRow("count emptied") << int(SkillStatModel::AttCntColumn) << "" << true << "";
    QTest::newRow("count negative") << int(SkillStatModel::CritCntColumn) << "-3" << true << "-3";
    QTest::newRow("count not a number") << int(SkillStatModel::AttCntColumn) << "12a" << false << "5";
    QTest::newRow("count too big") << int(SkillStatModel::AttCntColumn) << "2147483648" << false << "5";
    QTest::newRow("damage past 32 bits")
        << int(SkillStatModel::AttDmgColumn) << "2147483648" << true << "2147483648";
    QTest::newRow("class") << int(SkillStatModel::ClassColumn) << "12" << true << "12";
    QTest::newRow("class too big") << int(SkillStatModel::ClassColumn) << "65536" << false << "6";
    QTest::newRow("class negative") << int(SkillStatModel::ClassColumn) << "-1" << false << "6";
    QTest::newRow("name") << int(SkillStatModel::CharColumn) << "Борей" << true << "Борей";
    QTest::newRow("name cut to 50") << int(SkillStatModel::CharColumn) << QString(60, u'я') << true
                                    << QString(50, u'я');
    QTest::newRow("skill outside the code page")
        << int(SkillStatModel::SkillColumn) << "Удар 日本" << true << "Удар ??";
}

void GridModelsTest::skillStatCellsTakeValidValuesOnly() {
    QFETCH(int, column);
    QFETCH(QString, typed);
    QFETCH(bool, accepted);
    QFETCH(QString, shown);
    SkillStatTable mtAdv;
    mtAdv.Append(SkillStat("Ария", "Ледяной шип", 5, 2, 1500, 6));
    SkillStatModel model(mtAdv);
    model.setLinked(true);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    const QModelIndex cell = model.index(0, column);
    QVERIFY(model.flags(cell) & Qt::ItemIsEditable);
    QCOMPARE(model.setData(cell, typed), accepted);
    QCOMPARE(cell.data(Qt::EditRole).toString(), shown);
}

void GridModelsTest::skillStatRowsCanBeInsertedAndRemoved() {
    SkillStatTable mtAdv;
    mtAdv.Append(SkillStat("Ария", "Ледяной шип", 5, 2, 1500));
    mtAdv.Append(SkillStat("ВЫ", "Автоатака", 3, 0, 300));
    SkillStatModel model(mtAdv);
    model.setLinked(true);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);

    QVERIFY(model.insertRows(1, 1));
    QCOMPARE(mtAdv.RowCount(), std::size_t{3});
    QVERIFY(mtAdv.At(1).charName.empty());
    QVERIFY(!mtAdv.At(1).attCnt.has_value());
    QVERIFY(model.setData(model.index(1, SkillStatModel::CharColumn), "Борей"));
    QCOMPARE(mtAdv.At(1).charName, Cp("Борей"));

    QVERIFY(model.insertRows(3, 1));  // at the end
    QCOMPARE(mtAdv.RowCount(), std::size_t{4});

    QVERIFY(model.removeRows(0, 2));
    QCOMPARE(mtAdv.RowCount(), std::size_t{2});
    QCOMPARE(mtAdv.At(0).charName, Cp("ВЫ"));

    QVERIFY(!model.removeRows(1, 5));
    model.setLinked(false);
    QVERIFY(!model.insertRows(0, 1));  // nothing changes the table while the link is off
    QCOMPARE(mtAdv.RowCount(), std::size_t{2});
}

void GridModelsTest::referenceListModelsFollowTheirTables() {
    SkillTable mtSkills;
    DotTable mtDots;
    ui::SkillListModel skills(mtSkills);
    ui::DotListModel dots(mtDots);
    skills.setLinked(true);
    dots.setLinked(true);
    QAbstractItemModelTester skillTester(&skills, QAbstractItemModelTester::FailureReportingMode::QtTest);
    QAbstractItemModelTester dotTester(&dots, QAbstractItemModelTester::FailureReportingMode::QtTest);

    mtSkills.Append(SkillRow{6, Cp("Ледяной шип")});
    DotRow dot;
    dot.classNo = 9;
    dot.skillName = Cp("Проклятие");
    mtDots.Append(dot);
    mtDots.RecordUser(Cp("Проклятие"), Cp("Ария"));

    QCOMPARE(skills.index(0, ui::SkillNameColumn).data().toString(), QString("Ледяной шип"));
    QCOMPARE(skills.index(0, ui::LastUsedColumn).data().toString(), QString());
    QCOMPARE(dots.index(0, ui::LastUsedColumn).data().toString(), QString("Ария"));
    QCOMPARE(dots.index(0, ui::ClassNoColumn).data(ui::RawValueRole).toInt(), 9);

    mtDots.ClearLastUsed();
    QCOMPARE(dots.index(0, ui::LastUsedColumn).data().toString(), QString());
    mtSkills.Sort("ClassNo");
    mtSkills.Clear();
    QCOMPARE(skills.rowCount(), 0);
}

TALLY_GUI_TEST_MAIN(GridModelsTest)
#include "test_grid_models.moc"
