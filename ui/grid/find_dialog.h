#pragma once
// The grid's find dialog: looks for a text in the grid's cells and moves the current cell to the next
// cell that contains it. It does not block: it stays open beside the grid until closed.

#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace tally::ui {

class TableGrid;

class FindDialog final : public QDialog {
    Q_OBJECT

  public:
    explicit FindDialog(TableGrid& grid);

    QLineEdit* textBox() const { return text_; }
    QCheckBox* matchCaseBox() const { return matchCase_; }
    QPushButton* findNextButton() const { return findNext_; }
    // "Не найдено" after a search that found nothing, empty otherwise.
    QString resultText() const;

    // Searches from the grid's current cell for the text in the box.
    bool findNext();

  private:
    TableGrid& grid_;
    QLineEdit* text_;
    QCheckBox* matchCase_;
    QPushButton* findNext_;
    QLabel* result_;
};

}  // namespace tally::ui
