#pragma once
// The common ground of the grid models: the column layout of a grid, how a column shows its field,
// the data link that can be switched off, and the table's current row as a row of the model.

#include <QAbstractTableModel>
#include <QString>
#include <string_view>
#include <vector>

namespace tally::ui {

// How a cell shows its field's value.
enum class CellDisplay {
    Text,     // the text as stored
    Integer,  // a plain decimal integer
    Icon,     // no text: the grid draws the icon whose index is the value
    Percent,  // a fixed-point value in ten-thousandths, shown with two decimals
};

struct GridColumn {
    std::string_view field;  // the field name, as sort specs write it
    QString title;           // a bar separates the upper title row from the lower one: "Урон|Обший"
    int width;               // layout width; grids share their width among the columns in proportion
    CellDisplay display;
    int textWidth;  // the most characters a text field holds; 0 for a number field or no limit
};

enum GridRole {
    RawValueRole = Qt::UserRole,  // cells: the field's value (qlonglong or QString), invalid when empty
    FieldNameRole,                // header: the column's field name
    LayoutWidthRole,              // header: the column's layout width
    CellDisplayRole,              // header: the CellDisplay of the column, as int
    TextWidthRole,                // header: the most characters the column's text field holds, or 0
};

class LinkedTableModel : public QAbstractTableModel {
    Q_OBJECT

  public:
    LinkedTableModel(std::vector<GridColumn> columns, QObject* parent);

    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    const GridColumn& column(int section) const { return columns_[static_cast<std::size_t>(section)]; }
    // The column of a field, or -1.
    int columnOf(std::string_view field) const;

    // The data link. While it is off the model shows no rows and does not follow its table; switched
    // on, it shows the table's current content and current row.
    bool isLinked() const { return linked_; }
    void setLinked(bool on);

    // The table's current row as a row of the model: -1 when there is none, or it is hidden.
    virtual int currentRow() const = 0;
    // Makes the row the table's current row; -1 leaves the table as it is.
    virtual void setCurrentRow(int row) = 0;

    // The text a cell shows for a value of its field.
    QString displayText(int section, const QVariant& value) const;

  signals:
    void currentRowChanged(int row);

  protected:
    // The value of a field, or an invalid QVariant when the field has no value.
    virtual QVariant value(int row, int section) const = 0;
    // Start and stop following the table; called inside a model reset.
    virtual void attach() = 0;
    virtual void detach() = 0;

  private:
    std::vector<GridColumn> columns_;
    QString decimalPoint_;
    bool linked_ = false;
};

}  // namespace tally::ui
