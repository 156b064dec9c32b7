// The reference-list window and the statistics window: where they go, what they show, switching
// lists in place, the data link, and the editing of the statistics reaching mtAdv.

#include <QHeaderView>
#include <QLineEdit>
#include <QStyleFactory>
#include <memory>

#include "grid/editable_grid.h"
#include "grid/img_list.h"
#include "gui_test_main.h"
#include "models/linked_table_model.h"
#include "models/reference_list_models.h"
#include "models/skill_stat_model.h"
#include "table_fixtures.h"
#include "windows/uAdvanced.h"
#include "windows/uStat.h"

using namespace tally;
using namespace tally::test;
using tally::ui::SkillStatModel;
using tally::ui::TfAdvanced;
using tally::ui::TfStat;

namespace {

// Types text key by key; QTest::keyClicks takes Latin-1 only.
void Type(QWidget* widget, const QString& text) {
    for (const QChar ch : text) {
        QTest::sendKeyEvent(QTest::Press, widget, Qt::Key_unknown, QString(ch), Qt::NoModifier);
        QTest::sendKeyEvent(QTest::Release, widget, Qt::Key_unknown, QString(ch), Qt::NoModifier);
    }
}

QString Cell(const QAbstractItemView& grid, int row, int column) {
    return grid.model()->index(row, column).data().toString();
}

}  // namespace

class AuxWindowsTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase();
    void init();
    void cleanupTestCase();

    void referenceListGoesBesideTheMainWindow();
    void referenceListSwitchesListsInPlace();
    void referenceListDataLinkSurvivesASwitch();
    void statisticsWindowTouchesTheMainWindowsLeftEdge_data();
    void statisticsWindowTouchesTheMainWindowsLeftEdge();
    void statisticsCellsAreEditedThroughTheGrid();
    void statisticsRowsAreInsertedAndDeletedByKeys();
    void statisticsAreNotChangedWhileTheLinkIsOff();

  private:
    QLineEdit* openEditor(int row, int column);

    std::unique_ptr<ui::ImgList> images_;
    SkillTable mtSkills_;
    DotTable mtDots_;
    SkillStatTable mtAdv_;
    std::unique_ptr<TfStat> fStat_;
    std::unique_ptr<TfAdvanced> fAdvanced_;
};

void AuxWindowsTest::initTestCase() {
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    images_ = std::make_unique<ui::ImgList>();
    fStat_ = std::make_unique<TfStat>(mtSkills_, mtDots_, *images_);
    fAdvanced_ = std::make_unique<TfAdvanced>(mtAdv_, *images_);
    QVERIFY(!fStat_->isVisible());
    QVERIFY(!fAdvanced_->isVisible());
}

void AuxWindowsTest::init() {
    fStat_->DS().setEnabled(true);
    fAdvanced_->DS().setEnabled(true);
    mtSkills_.Clear();
    mtSkills_.Append(SkillRow{6, Cp("Ледяной шип")});
    mtSkills_.Append(SkillRow{1, Cp("Удар")});
    mtDots_.Clear();
    DotRow dot;
    dot.classNo = 9;
    dot.skillName = Cp("Проклятие");
    mtDots_.Append(dot);
    mtDots_.RecordUser(Cp("Проклятие"), Cp("Ария"));
    mtAdv_.Clear();
    mtAdv_.Append(SkillStat("Ария", "Ледяной шип", 5, 2, 1500, 6));
    mtAdv_.Append(SkillStat("ВЫ", "Автоатака", 3, 0, 300, 0));
}

void AuxWindowsTest::cleanupTestCase() {
    fStat_.reset();
    fAdvanced_.reset();
}

void AuxWindowsTest::referenceListGoesBesideTheMainWindow() {
    const QRect mainFrame(100, 50, 450, 600);
    fStat_->ShowSkillList(mainFrame);
    QVERIFY(QTest::qWaitForWindowExposed(fStat_.get()));
    QCOMPARE(fStat_->windowTitle(), QString("Скиллы персонажей"));
    QCOMPARE(fStat_->frameGeometry(), QRect(105, 180, 400, 250));

    const QAbstractItemView& grid = *fStat_->grid();
    QCOMPARE(grid.model()->rowCount(), 2);
    QCOMPARE(Cell(grid, 0, ui::SkillNameColumn), QString("Ледяной шип"));
    QCOMPARE(grid.model()->index(0, ui::ClassNoColumn).data(ui::RawValueRole).toInt(), 6);
    QCOMPARE(Cell(grid, 0, ui::LastUsedColumn), QString());
    QCOMPARE(grid.model()->headerData(ui::LastUsedColumn, Qt::Horizontal).toString(), QString("Использовал"));

    // Closing only hides; the next show puts it back where it belongs, however the user left it.
    fStat_->close();
    QVERIFY(!fStat_->isVisible());
    fStat_->move(600, 600);
    fStat_->resize(200, 120);
    fStat_->ShowSkillList(QRect(0, 0, 450, 600));
    QVERIFY(fStat_->isVisible());
    QCOMPARE(fStat_->frameGeometry(), QRect(5, 130, 400, 250));
    fStat_->hide();
}

void AuxWindowsTest::referenceListSwitchesListsInPlace() {
    const QRect mainFrame(100, 50, 450, 600);
    fStat_->ShowSkillList(mainFrame);
    fStat_->move(300, 300);  // the user moves it
    QWidget* gridBefore = fStat_->grid();

    fStat_->ShowDotList(mainFrame);
    QVERIFY(fStat_->isVisible());
    QCOMPARE(fStat_->windowTitle(), QString("Доты и последний кто использовал"));
    QCOMPARE(fStat_->frameGeometry(), QRect(105, 180, 400, 250));
    QCOMPARE(fStat_->grid(), gridBefore);
    QCOMPARE(fStat_->shownList(), TfStat::List::Dots);
    QCOMPARE(fStat_->grid()->model()->rowCount(), 1);
    QCOMPARE(Cell(*fStat_->grid(), 0, ui::LastUsedColumn), QString("Ария"));
    // The dot list is followed while shown: a new last user appears at once.
    mtDots_.RecordUser(Cp("Проклятие"), Cp("Борей"));
    QCOMPARE(Cell(*fStat_->grid(), 0, ui::LastUsedColumn), QString("Борей"));

    fStat_->ShowSkillList(mainFrame);
    QCOMPARE(fStat_->windowTitle(), QString("Скиллы персонажей"));
    QCOMPARE(fStat_->grid()->model()->rowCount(), 2);
    fStat_->hide();
}

void AuxWindowsTest::referenceListDataLinkSurvivesASwitch() {
    const QRect mainFrame(100, 50, 450, 600);
    fStat_->ShowSkillList(mainFrame);
    fStat_->DS().setEnabled(false);
    QCOMPARE(fStat_->grid()->model()->rowCount(), 0);
    fStat_->ShowDotList(mainFrame);  // a list asked for during a run stays empty until the run ends
    QCOMPARE(fStat_->grid()->model()->rowCount(), 0);
    fStat_->DS().setEnabled(true);
    QCOMPARE(fStat_->grid()->model()->rowCount(), 1);
    QCOMPARE(fStat_->grid()->currentIndex().row(), 0);
    fStat_->hide();
}

void AuxWindowsTest::statisticsWindowTouchesTheMainWindowsLeftEdge_data() {
    QTest::addColumn<QRect>("mainFrame");
    QTest::newRow("room at the left") << QRect(800, 200, 450, 600);
    QTest::newRow("main at the screen's left edge") << QRect(0, 40, 450, 600);
}

void AuxWindowsTest::statisticsWindowTouchesTheMainWindowsLeftEdge() {
    QFETCH(QRect, mainFrame);
    TfAdvanced window(mtAdv_, *images_);
    window.FormCreate(mainFrame);
    QCOMPARE(window.frameGeometry().top(), mainFrame.top());
    QCOMPARE(window.frameGeometry().right() + 1, mainFrame.left());
    QCOMPARE(window.windowTitle(), QString("Расширенная статистика (по скилам)"));
    QVERIFY(!window.isVisible());  // placing does not show it
}

QLineEdit* AuxWindowsTest::openEditor(int row, int column) {
    ui::EditableGrid* grid = fAdvanced_->grid();
    grid->setCurrentIndex(grid->model()->index(row, column));
    QTest::keyClick(grid, Qt::Key_F2);
    return grid->viewport()->findChild<QLineEdit*>();
}

void AuxWindowsTest::statisticsCellsAreEditedThroughTheGrid() {
    fAdvanced_->show();
    QVERIFY(QTest::qWaitForWindowExposed(fAdvanced_.get()));

    struct Edit {
        int column;
        const char* typed;
        QString shown;
    };
    const Edit edits[] = {
        {SkillStatModel::AttCntColumn, "4x2", "42"},  // the editor takes digits only
        {SkillStatModel::AttDmgColumn, "", ""},
        {SkillStatModel::CharColumn, "Борей", "Борей"},
        {SkillStatModel::SkillColumn, "Удар молнии длиной больше пятидесяти букв и ещё немного",
         QString("Удар молнии длиной больше пятидесяти букв и ещё не")},
    };
    for (const Edit& edit : edits) {
        QLineEdit* editor = openEditor(0, edit.column);
        QVERIFY2(editor, edit.typed);
        editor->selectAll();
        QTest::keyClick(editor, Qt::Key_Backspace);
        Type(editor, QString::fromUtf8(edit.typed));
        QTest::keyClick(editor, Qt::Key_Return);
        QTRY_VERIFY(!fAdvanced_->grid()->viewport()->findChild<QLineEdit*>() ||
                    !fAdvanced_->grid()->viewport()->findChild<QLineEdit*>()->isVisible());
        QCOMPARE(Cell(*fAdvanced_->grid(), 0, edit.column), edit.shown);
    }
    const SkillStatRow& row = mtAdv_.At(0);
    QCOMPARE(row.attCnt, std::optional<std::int32_t>(42));
    QVERIFY(!row.attDmg.has_value());
    QCOMPARE(row.charName, Cp("Борей"));
    QCOMPARE(row.skill.size(), kNameWidth);
    fAdvanced_->hide();
}

void AuxWindowsTest::statisticsRowsAreInsertedAndDeletedByKeys() {
    ui::EditableGrid* grid = fAdvanced_->grid();
    grid->setCurrentIndex(grid->model()->index(1, SkillStatModel::SkillColumn));

    QTest::keyClick(grid, Qt::Key_Insert);
    QCOMPARE(mtAdv_.RowCount(), std::size_t{3});
    QVERIFY(mtAdv_.At(1).charName.empty());
    QCOMPARE(mtAdv_.At(2).charName, Cp("ВЫ"));
    QCOMPARE(grid->currentIndex().row(), 1);  // the new row is current

    grid->setCurrentIndex(grid->model()->index(0, SkillStatModel::SkillColumn));
    QTest::keyClick(grid, Qt::Key_Delete, Qt::ControlModifier);
    QCOMPARE(mtAdv_.RowCount(), std::size_t{2});
    QVERIFY(mtAdv_.At(0).charName.empty());
    QCOMPARE(mtAdv_.At(1).charName, Cp("ВЫ"));

    // Delete alone does not remove a row.
    QTest::keyClick(grid, Qt::Key_Delete);
    QCOMPARE(mtAdv_.RowCount(), std::size_t{2});

    QVERIFY(grid->appendRow());
    QCOMPARE(mtAdv_.RowCount(), std::size_t{3});
    QCOMPARE(grid->currentIndex().row(), 2);
}

void AuxWindowsTest::statisticsAreNotChangedWhileTheLinkIsOff() {
    ui::EditableGrid* grid = fAdvanced_->grid();
    fAdvanced_->DS().setEnabled(false);
    QCOMPARE(grid->model()->rowCount(), 0);
    QTest::keyClick(grid, Qt::Key_Insert);
    QVERIFY(!grid->appendRow());
    QVERIFY(!grid->deleteCurrentRow());
    QCOMPARE(mtAdv_.RowCount(), std::size_t{2});
    fAdvanced_->DS().setEnabled(true);
    QCOMPARE(grid->model()->rowCount(), 2);
}

TALLY_GUI_TEST_MAIN(AuxWindowsTest)
#include "test_aux_windows.moc"
