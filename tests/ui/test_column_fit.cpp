// Relative column widths: sharing a width by weights, and a user's resize absorbed by the columns to
// the right of the resized one.

#include "grid/column_fit.h"
#include "gui_test_main.h"

using Widths = std::vector<int>;
Q_DECLARE_METATYPE(Widths)

class ColumnFitTest : public QObject {
    Q_OBJECT

  private slots:
    void fitSharesTheTotalByWeight_data();
    void fitSharesTheTotalByWeight();
    void fitKeepsColumnsAtTheMinimum_data();
    void fitKeepsColumnsAtTheMinimum();
    void resizeIsAbsorbedOnTheRight_data();
    void resizeIsAbsorbedOnTheRight();
};

void ColumnFitTest::fitSharesTheTotalByWeight_data() {
    QTest::addColumn<Widths>("weights");
    QTest::addColumn<int>("total");
    QTest::addColumn<Widths>("widths");
    QTest::newRow("layout widths fit exactly") << Widths{30, 205, 64, 50} << 349 << Widths{30, 205, 64, 50};
    QTest::newRow("twice as wide") << Widths{30, 205, 64, 50} << 698 << Widths{60, 410, 128, 100};
    QTest::newRow("rounding loses no pixel") << Widths{1, 1, 1} << 10 << Widths{3, 4, 3};
    QTest::newRow("no weights share equally") << Widths{0, 0} << 10 << Widths{5, 5};
    QTest::newRow("no columns") << Widths{} << 100 << Widths{};
    QTest::newRow("no room") << Widths{10, 20} << 0 << Widths{0, 0};
}

void ColumnFitTest::fitKeepsColumnsAtTheMinimum_data() {
    QTest::addColumn<Widths>("weights");
    QTest::addColumn<int>("total");
    QTest::addColumn<Widths>("widths");
    // Minimum 16.
    QTest::newRow("room for all") << Widths{30, 205, 64, 50} << 349 << Widths{30, 205, 64, 50};
    QTest::newRow("a narrow column held") << Widths{10, 200} << 100 << Widths{16, 84};
    QTest::newRow("held in a second round") << Widths{10, 60, 300} << 100 << Widths{16, 16, 68};
    QTest::newRow("too narrow for all") << Widths{1, 50, 50} << 40 << Widths{13, 14, 13};
}

void ColumnFitTest::fitKeepsColumnsAtTheMinimum() {
    QFETCH(Widths, weights);
    QFETCH(int, total);
    QFETCH(Widths, widths);
    QCOMPARE(tally::ui::FitWidths(weights, total, 16), widths);
}

void ColumnFitTest::fitSharesTheTotalByWeight() {
    QFETCH(Widths, weights);
    QFETCH(int, total);
    QFETCH(Widths, widths);
    QCOMPARE(tally::ui::FitWidths(weights, total), widths);
}

void ColumnFitTest::resizeIsAbsorbedOnTheRight_data() {
    QTest::addColumn<Widths>("before");
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("width");
    QTest::addColumn<Widths>("after");
    // Total 400, minimum 10.
    QTest::newRow("wider") << Widths{30, 200, 70, 100} << 1 << 240 << Widths{30, 240, 54, 76};
    QTest::newRow("narrower") << Widths{30, 200, 70, 100} << 1 << 160 << Widths{30, 160, 86, 124};
    QTest::newRow("as wide as the others allow")
        << Widths{30, 200, 70, 100} << 1 << 390 << Widths{30, 350, 10, 10};  // 8 and 12 by weight
    QTest::newRow("not below the minimum") << Widths{30, 200, 70, 100} << 0 << 2 << Widths{10, 211, 74, 105};
    QTest::newRow("the last column fills the rest")
        << Widths{30, 200, 70, 100} << 3 << 50 << Widths{30, 200, 70, 100};
}

void ColumnFitTest::resizeIsAbsorbedOnTheRight() {
    QFETCH(Widths, before);
    QFETCH(int, index);
    QFETCH(int, width);
    QFETCH(Widths, after);
    QCOMPARE(tally::ui::AbsorbResize(before, static_cast<std::size_t>(index), width, 400, 10), after);
}

TALLY_GUI_TEST_MAIN(ColumnFitTest)
#include "test_column_fit.moc"
