// The main grid over mtList, driven the way a user drives it: title clicks, moved columns, the DoT
// columns switched on and off, the data link, the row filter, the find dialog, and what it draws.

#include <QCheckBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QStyleFactory>
#include <QVBoxLayout>
#include <memory>

#include "grid/db_grid.h"
#include "grid/find_dialog.h"
#include "grid/img_list.h"
#include "grid/title_header.h"
#include "gui_test_main.h"
#include "models/character_list_model.h"
#include "table_fixtures.h"

using namespace tally;
using namespace tally::test;
using tally::ui::CharacterListModel;
using tally::ui::DBGrid;
using tally::ui::ImgList;

namespace {

// Six characters whose values put them in a different order for every title.
void FillList(CharacterTable& mtList) {
    mtList.Clear();
    mtList.Append(Character(0, "Манекен", 4000));
    mtList.Append(Character(8, "Лиана", 13130, 2100, 333333));
    mtList.Append(Character(0, "Страж", 700));
    mtList.Append(Character(2, "ВЫ", 9800, 0, 7812));
    mtList.Append(Character(12, "Элементаль огня", 1200));
    mtList.Append(Character(5, "Ария", 500, 5000, 1000000));
}

bool SameColour(QRgb a, QRgb b, int tolerance = 2) {
    return std::abs(qRed(a) - qRed(b)) <= tolerance && std::abs(qGreen(a) - qGreen(b)) <= tolerance &&
           std::abs(qBlue(a) - qBlue(b)) <= tolerance;
}

}  // namespace

class DBGridTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase();
    void init();
    void cleanupTestCase();

    void startsWithTheTotalDamageMarker();
    void titleClickSortsOneWayAndMarksTheColumn_data();
    void titleClickSortsOneWayAndMarksTheColumn();
    void titleClickFollowsTheFieldOfAMovedColumn();
    void markTotalDamageSortedMovesTheMarker();
    void markerIsDrawnOnTheMarkedTitleOnly();
    void upperTitleSpansTheVisibleDamageColumns();
    void upperTitleSplitsWhenMovedColumnsAreApart();
    void anotherTableKeepsTheColumnsAndTakesTheTitleClicks();
    void classColumnsDrawTheirIcon_data();
    void classColumnsDrawTheirIcon();
    void imgListHoldsEighteenDistinctIcons();
    void dataLinkOffShowsNoRowsAndOnBringsBackTheCurrentRow();
    void filterHidesClassZeroRows();
    void columnsShareTheWidthByTheirLayoutWidths();
    void userResizeKeepsTheColumnsFillingTheWidth();
    void clickedCellBecomesTheTablesCurrentRow();
    void rowIndicatorMarksTheCurrentRow();
    void findDialogMovesTheCurrentCell();

  private:
    ui::TitleHeader* titles() const { return grid_->titleHeader(); }
    void clickTitle(int column);
    QStringList shownNames() const;
    QImage grabHeader() const;

    std::unique_ptr<ImgList> images_;
    CharacterTable mtList_;
    CharacterTable otherList_;  // declared before the grid's host, which lets go of it first
    std::unique_ptr<QWidget> host_;
    DBGrid* grid_ = nullptr;
};

void DBGridTest::initTestCase() {
    // One style for every run, so that what the header draws does not depend on the desktop.
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    images_ = std::make_unique<ImgList>();
    host_ = std::make_unique<QWidget>();
    grid_ = new DBGrid(mtList_, *images_, host_.get());
    auto* layout = new QVBoxLayout(host_.get());
    layout->addWidget(grid_);
    host_->resize(425, 400);
    host_->show();
    QVERIFY(QTest::qWaitForWindowExposed(host_.get()));
}

void DBGridTest::init() {
    grid_->characterModel()->setTable(mtList_);
    grid_->DataSource().setEnabled(true);
    mtList_.SetFiltered(false);
    FillList(mtList_);
    QHeaderView* header = grid_->horizontalHeader();
    for (int column = 0; column < CharacterListModel::ColumnCount; ++column)
        header->moveSection(header->visualIndex(column), column);
    grid_->setDotColumnsVisible(false);
    grid_->MarkTotalDamageSorted();
    host_->resize(425, 400);
    QCoreApplication::processEvents();
}

void DBGridTest::cleanupTestCase() {
    host_.reset();
}

void DBGridTest::clickTitle(int column) {
    // At the centre of the section's lower title row.
    QHeaderView* header = grid_->horizontalHeader();
    const QPoint centre(header->sectionViewportPosition(column) + header->sectionSize(column) / 2,
                        header->height() * 3 / 4);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, Qt::NoModifier, centre);
}

QStringList DBGridTest::shownNames() const {
    QStringList names;
    const QAbstractItemModel* model = grid_->model();
    for (int row = 0; row < model->rowCount(); ++row)
        names << model->index(row, CharacterListModel::CharNameColumn).data().toString();
    return names;
}

QImage DBGridTest::grabHeader() const {
    return grid_->horizontalHeader()->viewport()->grab().toImage();
}

void DBGridTest::startsWithTheTotalDamageMarker() {
    CharacterTable table;
    DBGrid fresh(table, *images_);
    QCOMPARE(fresh.titleHeader()->markerColumn(), int(CharacterListModel::DmgAllColumn));
    QCOMPARE(fresh.titleHeader()->markerOrder(), Qt::DescendingOrder);
    QVERIFY(!fresh.dotColumnsVisible());
    QCOMPARE(fresh.objectName(), QString("DBGrid"));
    // The vertical class title gets the header's height it needs.
    QVERIFY(fresh.horizontalHeader()->sizeHint().height() >=
            fresh.fontMetrics().horizontalAdvance(QStringLiteral("Класс")));
}

void DBGridTest::titleClickSortsOneWayAndMarksTheColumn_data() {
    QTest::addColumn<int>("column");
    QTest::addColumn<QStringList>("order");
    QTest::addColumn<Qt::SortOrder>("marker");
    QTest::newRow("class") << int(CharacterListModel::CharClassColumn)
                           << QStringList{"Манекен", "Страж", "ВЫ", "Ария", "Лиана", "Элементаль огня"}
                           << Qt::AscendingOrder;
    QTest::newRow("name") << int(CharacterListModel::CharNameColumn)
                          << QStringList{"Ария", "ВЫ", "Лиана", "Манекен", "Страж", "Элементаль огня"}
                          << Qt::AscendingOrder;
    QTest::newRow("total") << int(CharacterListModel::DmgAllColumn)
                           << QStringList{"Лиана", "ВЫ", "Ария", "Манекен", "Элементаль огня", "Страж"}
                           << Qt::DescendingOrder;
    QTest::newRow("skills") << int(CharacterListModel::CharDamageColumn)
                            << QStringList{"Лиана", "ВЫ", "Манекен", "Элементаль огня", "Страж", "Ария"}
                            << Qt::DescendingOrder;
    // The damage per second is the total over one time in combat, so it orders as the total does.
    QTest::newRow("damage per second")
        << int(CharacterListModel::DpsColumn)
        << QStringList{"Лиана", "ВЫ", "Ария", "Манекен", "Элементаль огня", "Страж"} << Qt::DescendingOrder;
    // Equal values keep their order, so the rows without DoT damage stay as they were.
    QTest::newRow("dots") << int(CharacterListModel::CharDotsColumn)
                          << QStringList{"Ария", "Лиана", "Манекен", "Страж", "ВЫ", "Элементаль огня"}
                          << Qt::DescendingOrder;
    // Rows without a rate come last.
    QTest::newRow("critical") << int(CharacterListModel::CriticalColumn)
                              << QStringList{"Ария", "Лиана", "ВЫ", "Манекен", "Страж", "Элементаль огня"}
                              << Qt::DescendingOrder;
}

void DBGridTest::titleClickSortsOneWayAndMarksTheColumn() {
    QFETCH(int, column);
    QFETCH(QStringList, order);
    QFETCH(Qt::SortOrder, marker);
    grid_->setDotColumnsVisible(true);
    clickTitle(column);
    QCOMPARE(NamesOf(mtList_), order);
    QCOMPARE(shownNames(), order);
    QCOMPARE(titles()->markerColumn(), column);
    QCOMPARE(titles()->markerOrder(), marker);

    // The same title again sorts the same way and keeps the same marker.
    clickTitle(column);
    QCOMPARE(NamesOf(mtList_), order);
    QCOMPARE(titles()->markerColumn(), column);
    QCOMPARE(titles()->markerOrder(), marker);
}

void DBGridTest::titleClickFollowsTheFieldOfAMovedColumn() {
    QHeaderView* header = grid_->horizontalHeader();
    header->moveSection(header->visualIndex(CharacterListModel::CriticalColumn), 0);
    QCOMPARE(header->logicalIndexAt(header->sectionViewportPosition(CharacterListModel::CriticalColumn) + 2),
             int(CharacterListModel::CriticalColumn));
    QCOMPARE(header->visualIndex(CharacterListModel::CriticalColumn), 0);
    clickTitle(CharacterListModel::CriticalColumn);
    QCOMPARE(NamesOf(mtList_), QStringList({"Ария", "Лиана", "ВЫ", "Манекен", "Страж", "Элементаль огня"}));
    QCOMPARE(titles()->markerColumn(), int(CharacterListModel::CriticalColumn));
    QCOMPARE(titles()->markerOrder(), Qt::DescendingOrder);
}

void DBGridTest::markTotalDamageSortedMovesTheMarker() {
    clickTitle(CharacterListModel::CharNameColumn);
    QCOMPARE(titles()->markerColumn(), int(CharacterListModel::CharNameColumn));
    grid_->MarkTotalDamageSorted();
    QCOMPARE(titles()->markerColumn(), int(CharacterListModel::DmgAllColumn));
    QCOMPARE(titles()->markerOrder(), Qt::DescendingOrder);
}

void DBGridTest::markerIsDrawnOnTheMarkedTitleOnly() {
    // The right end of the name title, where a marker stands; the title's text is centred far from it.
    QHeaderView* header = grid_->horizontalHeader();
    const int name = CharacterListModel::CharNameColumn;
    const int right = header->sectionViewportPosition(name) + header->sectionSize(name) - 1;
    const QColor ink = header->palette().color(QPalette::ButtonText);
    // The rows of the marker area that hold ink, with how many inked pixels each has.
    auto inkedRows = [&] {
        const QImage image = grabHeader();
        QList<int> widths;
        for (int y = 2; y < image.height() - 2; ++y) {
            int inked = 0;
            for (int x = right - 20; x < right - 1; ++x)
                if (SameColour(image.pixel(x, y), ink.rgb(), 60))
                    ++inked;
            if (inked > 0)
                widths << inked;
        }
        return widths;
    };
    QVERIFY(inkedRows().isEmpty());
    clickTitle(name);
    const QList<int> ascending = inkedRows();
    QVERIFY(ascending.size() >= 2);
    QVERIFY2(ascending.first() < ascending.last(), "an ascending marker points up");
    grid_->MarkTotalDamageSorted();
    QVERIFY(inkedRows().isEmpty());
}

void DBGridTest::upperTitleSpansTheVisibleDamageColumns() {
    QHeaderView* header = grid_->horizontalHeader();
    const int total = CharacterListModel::DmgAllColumn;
    const int perSecond = CharacterListModel::DpsColumn;
    const int skills = CharacterListModel::CharDamageColumn;
    const int dots = CharacterListModel::CharDotsColumn;
    auto left = [header](int column) { return header->sectionViewportPosition(column); };
    auto right = [header](int column) {
        return header->sectionViewportPosition(column) + header->sectionSize(column);
    };
    // Just below the top edge of the header, above the text of the upper titles.
    const int upperRow = 2;
    const int lowerRow = header->height() - 3;

    // DoT columns hidden: the upper cell stands over the total and the damage per second, and its right
    // edge is drawn.
    QCOMPARE(header->visualIndex(perSecond), header->visualIndex(total) + 1);
    QCOMPARE(titles()->lowerTitle(perSecond), QStringLiteral("ДПС"));
    for (const int column : {total, perSecond}) {
        const QRect cell = titles()->upperCellRect(column);
        QCOMPARE(cell.left(), left(total));
        QCOMPARE(cell.right() + 1, right(perSecond));
    }
    QImage image = grabHeader();
    QVERIFY(SameColour(image.pixel(right(total) - 1, upperRow), image.pixel(left(total) + 3, upperRow)));
    QVERIFY(!SameColour(image.pixel(right(perSecond) - 1, upperRow), image.pixel(left(total) + 3, upperRow)));

    // DoT columns shown: one upper cell across the four, with no edge between them above, while the
    // lower titles keep their own edges.
    grid_->setDotColumnsVisible(true);
    QCoreApplication::processEvents();
    for (const int column : {total, perSecond, skills, dots}) {
        const QRect cell = titles()->upperCellRect(column);
        QCOMPARE(cell.left(), left(total));
        QCOMPARE(cell.right() + 1, right(dots));
    }
    image = grabHeader();
    for (const int border : {right(total) - 1, right(perSecond) - 1, right(skills) - 1}) {
        QVERIFY(SameColour(image.pixel(border, upperRow), image.pixel(left(total) + 3, upperRow)));
        QVERIFY(!SameColour(image.pixel(border, lowerRow), image.pixel(border - 3, lowerRow)));
    }
    QVERIFY(!SameColour(image.pixel(right(dots) - 1, upperRow), image.pixel(left(total) + 3, upperRow)));
    // A one-level title has no upper cell.
    QVERIFY(titles()->upperCellRect(CharacterListModel::CharNameColumn).isEmpty());
}

void DBGridTest::upperTitleSplitsWhenMovedColumnsAreApart() {
    grid_->setDotColumnsVisible(true);
    QHeaderView* header = grid_->horizontalHeader();
    header->moveSection(header->visualIndex(CharacterListModel::CharDotsColumn), 0);
    auto span = [header](int first, int last) {
        const int left = header->sectionViewportPosition(first);
        return QRect(left, 0, header->sectionViewportPosition(last) + header->sectionSize(last) - left,
                     header->height() / 2);
    };
    QCOMPARE(titles()->upperCellRect(CharacterListModel::CharDotsColumn),
             span(CharacterListModel::CharDotsColumn, CharacterListModel::CharDotsColumn));
    QCOMPARE(titles()->upperCellRect(CharacterListModel::DmgAllColumn),
             span(CharacterListModel::DmgAllColumn, CharacterListModel::CharDamageColumn));

    // Moved back next to the others, it joins them again.
    header->moveSection(0, header->visualIndex(CharacterListModel::CharDamageColumn));
    QCOMPARE(titles()->upperCellRect(CharacterListModel::DmgAllColumn),
             span(CharacterListModel::DmgAllColumn, CharacterListModel::CharDotsColumn));
}

// A fight's table shown in the grid: the columns stay as the user left them, and the titles sort the
// table shown, not the one shown before.
void DBGridTest::anotherTableKeepsTheColumnsAndTakesTheTitleClicks() {
    grid_->setDotColumnsVisible(true);
    QHeaderView* header = grid_->horizontalHeader();
    header->moveSection(header->visualIndex(CharacterListModel::CriticalColumn), 0);
    QList<int> widths;
    for (int column = 0; column < CharacterListModel::ColumnCount; ++column)
        widths << header->sectionSize(column);

    CharacterTable& fight = otherList_;
    fight.Clear();
    fight.Append(Character(5, "Ария", 10));
    fight.Append(Character(6, "Борей", 20));
    fight.SetCurrent(1);
    grid_->characterModel()->setTable(fight);
    QCOMPARE(shownNames(), QStringList({"Ария", "Борей"}));
    QCOMPARE(grid_->currentIndex().row(), 1);
    QVERIFY(grid_->dotColumnsVisible());
    QCOMPARE(header->visualIndex(CharacterListModel::CriticalColumn), 0);
    for (int column = 0; column < CharacterListModel::ColumnCount; ++column)
        QCOMPARE(header->sectionSize(column), widths[column]);

    const QStringList before = NamesOf(mtList_);
    clickTitle(CharacterListModel::DmgAllColumn);
    QCOMPARE(NamesOf(fight), QStringList({"Борей", "Ария"}));
    QCOMPARE(NamesOf(mtList_), before);

    grid_->characterModel()->setTable(mtList_);
    QCOMPARE(shownNames(), before);
}

void DBGridTest::classColumnsDrawTheirIcon_data() {
    QTest::addColumn<int>("charClass");
    QTest::addColumn<bool>("hasIcon");
    QTest::newRow("question mark") << 0 << true;
    QTest::newRow("player class") << 7 << true;
    QTest::newRow("summon plus") << 12 << true;
    QTest::newRow("no such icon") << 18 << false;
    QTest::newRow("negative") << -1 << false;
}

void DBGridTest::classColumnsDrawTheirIcon() {
    QFETCH(int, charClass);
    QFETCH(bool, hasIcon);
    mtList_.Clear();
    mtList_.Append(Character(charClass, "Ария", 10));
    mtList_.Append(Character(1, "Борей", 5));
    // The current cell is elsewhere, so the icon's cell has its plain background.
    grid_->setCurrentIndex(grid_->model()->index(1, CharacterListModel::CharNameColumn));
    QCoreApplication::processEvents();

    const QModelIndex index = grid_->model()->index(0, CharacterListModel::CharClassColumn);
    // The cell as the view paints it: its visual rectangle, which leaves out the grid line at its right
    // and bottom.
    const QRect cell = grid_->visualRect(index);
    const QImage shown = grid_->viewport()->grab().toImage();
    const QRgb background = shown.pixel(cell.left() + 1, cell.top() + 1);
    const QRect target =
        QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, QSize(ImgList::kSize, ImgList::kSize), cell);
    QImage expected(target.size(), QImage::Format_ARGB32);
    expected.fill(background);
    if (hasIcon) {
        QPainter painter(&expected);
        painter.drawPixmap(0, 0, images_->pixmap(charClass));
    }
    for (int y = 0; y < target.height(); ++y)
        for (int x = 0; x < target.width(); ++x)
            QVERIFY2(SameColour(shown.pixel(target.left() + x, target.top() + y), expected.pixel(x, y)),
                     qPrintable(QStringLiteral("pixel %1,%2").arg(x).arg(y)));
    QCOMPARE(index.data().toString(), QString());
}

void DBGridTest::imgListHoldsEighteenDistinctIcons() {
    QList<QImage> seen;
    for (int index = 0; index < ImgList::kCount; ++index) {
        const QImage image = images_->pixmap(index).toImage();
        QCOMPARE(image.size(), QSize(ImgList::kSize, ImgList::kSize));
        QVERIFY2(!seen.contains(image), qPrintable(QString::number(index)));
        seen << image;
        QVERIFY(!images_->icon(index).isNull());
    }
    QVERIFY(images_->pixmap(ImgList::kCount).isNull());
    QVERIFY(images_->pixmap(-1).isNull());
}

void DBGridTest::dataLinkOffShowsNoRowsAndOnBringsBackTheCurrentRow() {
    mtList_.SetCurrent(3);  // "ВЫ"
    QCOMPARE(grid_->currentIndex().row(), 3);

    grid_->DataSource().setEnabled(false);
    QCOMPARE(grid_->model()->rowCount(), 0);
    QCOMPARE(grid_->verticalHeader()->count(), 0);
    // While off, the grid does not follow the table.
    mtList_.Append(Character(3, "Борей", 100));
    mtList_.Sort("CharName Asc");
    mtList_.SetCurrent(4);
    QCOMPARE(grid_->model()->rowCount(), 0);

    grid_->DataSource().setEnabled(true);
    QCOMPARE(shownNames(), NamesOf(mtList_));
    QCOMPARE(grid_->currentIndex().row(), 4);
    QVERIFY(grid_->selectionModel()->isSelected(grid_->currentIndex()));
}

void DBGridTest::filterHidesClassZeroRows() {
    mtList_.SetFiltered(true);
    QCOMPARE(shownNames(), QStringList({"Лиана", "ВЫ", "Элементаль огня", "Ария"}));
    mtList_.SetFiltered(false);
    QCOMPARE(grid_->model()->rowCount(), 6);
}

void DBGridTest::columnsShareTheWidthByTheirLayoutWidths() {
    QHeaderView* header = grid_->horizontalHeader();
    auto shownWidth = [&] {
        int sum = 0;
        for (int column = 0; column < CharacterListModel::ColumnCount; ++column)
            if (!header->isSectionHidden(column))
                sum += header->sectionSize(column);
        return sum;
    };
    for (const int hostWidth : {425, 700, 460}) {
        for (const bool dots : {false, true}) {
            host_->resize(hostWidth, 400);
            grid_->setDotColumnsVisible(dots);
            QCoreApplication::processEvents();
            QCOMPARE(shownWidth(), grid_->viewport()->width());
            // Name against class: 205 to 30, give or take the rounding of each, unless the class column's
            // share falls below the narrowest a column gets, where it is held.
            const int classWidth = header->sectionSize(CharacterListModel::CharClassColumn);
            QVERIFY(classWidth >= header->minimumSectionSize());
            if (classWidth > header->minimumSectionSize()) {
                const double ratio =
                    double(header->sectionSize(CharacterListModel::CharNameColumn)) / classWidth;
                QVERIFY2(std::abs(ratio - 205.0 / 30.0) < 0.4, qPrintable(QString::number(ratio)));
            }
            // Name against the critical rate: 205 to 50.
            const double ratio = double(header->sectionSize(CharacterListModel::CharNameColumn)) /
                                 header->sectionSize(CharacterListModel::CriticalColumn);
            QVERIFY2(std::abs(ratio - 205.0 / 50.0) < 0.2, qPrintable(QString::number(ratio)));
            QVERIFY(!grid_->horizontalScrollBar()->isVisible());
        }
    }
    // Hidden and shown again, a column keeps its share.
    QCOMPARE(grid_->columnWeight(CharacterListModel::CharDotsColumn), 50);
    QVERIFY(!header->isSectionHidden(CharacterListModel::CharDotsColumn));
}

void DBGridTest::userResizeKeepsTheColumnsFillingTheWidth() {
    QHeaderView* header = grid_->horizontalHeader();
    const int name = CharacterListModel::CharNameColumn;
    const int before = header->sectionSize(name);
    header->resizeSection(name, before + 40);  // as a drag of the title border does
    QCOMPARE(header->sectionSize(name), before + 40);
    int sum = 0;
    for (int column = 0; column < CharacterListModel::ColumnCount; ++column)
        if (!header->isSectionHidden(column))
            sum += header->sectionSize(column);
    QCOMPARE(sum, grid_->viewport()->width());
    // The columns left of it keep their width.
    const int classWidth = header->sectionSize(CharacterListModel::CharClassColumn);
    header->resizeSection(name, before + 20);
    QCOMPARE(header->sectionSize(CharacterListModel::CharClassColumn), classWidth);
}

void DBGridTest::clickedCellBecomesTheTablesCurrentRow() {
    const QModelIndex cell = grid_->model()->index(2, CharacterListModel::CharNameColumn);
    QTest::mouseClick(grid_->viewport(), Qt::LeftButton, Qt::NoModifier, grid_->visualRect(cell).center());
    QCOMPARE(mtList_.Current(), std::size_t{2});
    mtList_.SetFiltered(true);  // "Страж" is hidden; the first row shown becomes current
    QCOMPARE(grid_->currentIndex().row(), 0);
    QCOMPARE(mtList_.Current(), std::size_t{1});
}

void DBGridTest::rowIndicatorMarksTheCurrentRow() {
    mtList_.SetCurrent(2);
    QCoreApplication::processEvents();
    QHeaderView* indicator = grid_->verticalHeader();
    const QImage image = indicator->viewport()->grab().toImage();
    const QColor mark = indicator->palette().color(QPalette::ButtonText);
    auto marked = [&](int row) {
        const int top = indicator->sectionViewportPosition(row);
        for (int y = top; y < top + indicator->sectionSize(row); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (SameColour(image.pixel(x, y), mark.rgb(), 8))
                    return true;
        return false;
    };
    for (int row = 0; row < 6; ++row)
        QCOMPARE(marked(row), row == 2);
}

void DBGridTest::findDialogMovesTheCurrentCell() {
    grid_->setCurrentIndex(grid_->model()->index(0, CharacterListModel::CharNameColumn));
    QTest::keyClick(grid_, Qt::Key_F, Qt::ControlModifier);
    ui::FindDialog* find = grid_->findDialog();
    QVERIFY(find);
    QVERIFY(find->isVisible());
    QVERIFY(!find->isModal());

    struct Step {
        const char* text;
        bool matchCase;
        bool found;
        int row;  // of the current cell afterwards
        int column;
    };
    const Step steps[] = {
        {"лиа", false, true, 1, CharacterListModel::CharNameColumn},
        {"00", false, true, 2, CharacterListModel::DmgAllColumn},  // "700", the total of "Страж"
        {"00", false, true, 3, CharacterListModel::DmgAllColumn},  // then "9800"
        {"лиана", true, false, 3, CharacterListModel::DmgAllColumn},
        {"Лиана", true, true, 1, CharacterListModel::CharNameColumn},  // wrapping round to the top
    };
    for (const Step& step : steps) {
        find->textBox()->setText(QString::fromUtf8(step.text));
        find->matchCaseBox()->setChecked(step.matchCase);
        QTest::mouseClick(find->findNextButton(), Qt::LeftButton);
        QVERIFY2(find->resultText().isEmpty() == step.found, step.text);
        QCOMPARE(grid_->currentIndex().row(), step.row);
        QCOMPARE(grid_->currentIndex().column(), step.column);
    }
    QCOMPARE(mtList_.Current(), std::size_t{1});
    find->hide();
}

TALLY_GUI_TEST_MAIN(DBGridTest)
#include "test_db_grid.moc"
