#include "grid/table_grid.h"

#include <QEvent>
#include <QHeaderView>
#include <algorithm>

#include "grid/column_fit.h"
#include "grid/grid_delegate.h"
#include "grid/img_list.h"
#include "grid/row_indicator_header.h"
#include "models/linked_table_model.h"

namespace tally::ui {

TableGrid::TableGrid(const ImgList& images, QWidget* parent)
    : QTableView(parent), delegate_(new GridDelegate(images, this)) {
    setItemDelegate(delegate_);
    setVerticalHeader(new RowIndicatorHeader(this));
    // A row is high enough for an icon with a pixel above it and the grid line below it.
    const int iconRow = ImgList::kSize + 2;
    if (verticalHeader()->defaultSectionSize() < iconRow)
        verticalHeader()->setDefaultSectionSize(iconRow);
    useHorizontalHeader(horizontalHeader());
    // The columns always fill the width exactly, so there is never anything to scroll to sideways.
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setSortingEnabled(false);
    setWordWrap(false);
    setReadOnly(true);
}

void TableGrid::useHorizontalHeader(QHeaderView* header) {
    if (header != horizontalHeader())
        setHorizontalHeader(header);
    header->setSectionsMovable(true);
    header->setStretchLastSection(false);
    header->setSectionResizeMode(QHeaderView::Interactive);
    header->setHighlightSections(false);
    // A column is never dragged narrower than a line of text is high.
    header->setMinimumSectionSize(fontMetrics().height());
    connect(header, &QHeaderView::sectionResized, this, &TableGrid::onSectionResized);
}

void TableGrid::setTableModel(LinkedTableModel* model) {
    if (model == link_.model())
        return;
    if (LinkedTableModel* old = link_.model())
        disconnect(old, nullptr, this, nullptr);
    link_.setModel(model);
    // The view makes a new selection model for the new model; the old one would still report the
    // old model's rows.
    QItemSelectionModel* oldSelection = selectionModel();
    QTableView::setModel(model);
    delete oldSelection;
    if (!model)
        return;

    weights_.assign(static_cast<std::size_t>(model->columnCount()), 0);
    for (int column = 0; column < model->columnCount(); ++column)
        weights_[static_cast<std::size_t>(column)] =
            model->headerData(column, Qt::Horizontal, LayoutWidthRole).toInt();
    connect(model, &LinkedTableModel::currentRowChanged, this, &TableGrid::followTableCurrent);
    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                // Only a real row moves the table; the view loses its current cell on every reset.
                if (current.isValid())
                    link_.model()->setCurrentRow(current.row());
                verticalHeader()->viewport()->update();
            });
    fitColumns();
    followTableCurrent(model->currentRow());
}

void TableGrid::followTableCurrent(int row) {
    LinkedTableModel* model = link_.model();
    if (!model)
        return;
    if (row < 0) {
        // A table with rows always has a current row, the first one when none is set yet.
        if (model->rowCount() > 0)
            model->setCurrentRow(0);
        verticalHeader()->viewport()->update();
        return;
    }
    if (currentIndex().row() != row) {
        int column = currentIndex().isValid() ? currentIndex().column() : -1;
        if (column < 0 || isColumnHidden(column)) {
            const std::vector<int> columns = visibleColumns();
            column = columns.empty() ? 0 : columns.front();
        }
        setCurrentIndex(model->index(row, column));
    }
    verticalHeader()->viewport()->update();
}

void TableGrid::setReadOnly(bool readOnly) {
    readOnly_ = readOnly;
    setEditTriggers(readOnly ? QAbstractItemView::NoEditTriggers
                             : QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                                   QAbstractItemView::AnyKeyPressed);
}

void TableGrid::setAlternatingColours(bool on) {
    alternating_ = on;
    setAlternatingRowColors(on);
    applyPalette();
}

void TableGrid::applyPalette() {
    if (!alternating_)
        return;
    QPalette colours = palette();
    const QColor tooltip = colours.color(QPalette::ToolTipBase);
    if (colours.color(QPalette::AlternateBase) == tooltip)
        return;
    colours.setColor(QPalette::AlternateBase, tooltip);
    setPalette(colours);
}

void TableGrid::changeEvent(QEvent* event) {
    QTableView::changeEvent(event);
    if (event->type() == QEvent::PaletteChange)
        applyPalette();
}

std::vector<int> TableGrid::visibleColumns() const {
    std::vector<int> columns;
    const QHeaderView* header = horizontalHeader();
    for (int visual = 0; visual < header->count(); ++visual) {
        const int logical = header->logicalIndex(visual);
        if (!header->isSectionHidden(logical))
            columns.push_back(logical);
    }
    return columns;
}

int TableGrid::columnWeight(int column) const {
    return column >= 0 && column < static_cast<int>(weights_.size())
               ? weights_[static_cast<std::size_t>(column)]
               : 0;
}

void TableGrid::setColumnShown(int column, bool shown) {
    fitting_ = true;
    setColumnHidden(column, !shown);
    fitting_ = false;
    fitColumns();
}

void TableGrid::fitColumns() {
    const std::vector<int> columns = visibleColumns();
    if (columns.empty())
        return;
    std::vector<int> weights;
    for (const int column : columns)
        weights.push_back(columnWeight(column));
    const std::vector<int> widths =
        FitWidths(weights, viewport()->width(), horizontalHeader()->minimumSectionSize());
    fitting_ = true;
    for (std::size_t i = 0; i < columns.size(); ++i)
        horizontalHeader()->resizeSection(columns[i], widths[i]);
    fitting_ = false;
}

void TableGrid::onSectionResized(int logical, int /*oldSize*/, int newSize) {
    if (fitting_ || isColumnHidden(logical) || newSize <= 0)
        return;
    const std::vector<int> columns = visibleColumns();
    const auto found = std::find(columns.begin(), columns.end(), logical);
    if (found == columns.end())
        return;
    std::vector<int> widths;
    for (const int column : columns)
        widths.push_back(columnWidth(column));
    const std::vector<int> fitted =
        AbsorbResize(widths, static_cast<std::size_t>(found - columns.begin()), newSize, viewport()->width(),
                     horizontalHeader()->minimumSectionSize());
    // From now on the widths the user left are the relative widths.
    fitting_ = true;
    for (std::size_t i = 0; i < columns.size(); ++i) {
        horizontalHeader()->resizeSection(columns[i], fitted[i]);
        weights_[static_cast<std::size_t>(columns[i])] = fitted[i];
    }
    fitting_ = false;
}

void TableGrid::resizeEvent(QResizeEvent* event) {
    QTableView::resizeEvent(event);
    fitColumns();
}

bool TableGrid::findNext(const QString& text, Qt::CaseSensitivity sensitivity) {
    LinkedTableModel* model = link_.model();
    const std::vector<int> columns = visibleColumns();
    if (!model || text.isEmpty() || columns.empty() || model->rowCount() == 0)
        return false;
    const long long width = static_cast<long long>(columns.size());
    const long long cells = model->rowCount() * width;
    long long start = -1;  // before the first cell when there is no current cell
    const QModelIndex current = currentIndex();
    if (current.isValid()) {
        const auto column = std::find(columns.begin(), columns.end(), current.column());
        start = current.row() * width + (column == columns.end() ? 0 : column - columns.begin());
    }
    for (long long step = 1; step <= cells; ++step) {
        const long long cell = (start + step) % cells;
        const QModelIndex candidate =
            model->index(static_cast<int>(cell / width), columns[static_cast<std::size_t>(cell % width)]);
        if (candidate.data(Qt::DisplayRole).toString().contains(text, sensitivity)) {
            setCurrentIndex(candidate);
            return true;
        }
    }
    return false;
}

}  // namespace tally::ui
