#include "models/linked_table_model.h"

#include <QLocale>

#include "tallyscope/result_tables.h"

namespace tally::ui {

LinkedTableModel::LinkedTableModel(std::vector<GridColumn> columns, QObject* parent)
    : QAbstractTableModel(parent), columns_(std::move(columns)), decimalPoint_(QLocale().decimalPoint()) {}

int LinkedTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(columns_.size());
}

int LinkedTableModel::columnOf(std::string_view field) const {
    for (std::size_t i = 0; i < columns_.size(); ++i)
        if (columns_[i].field == field)
            return static_cast<int>(i);
    return -1;
}

QVariant LinkedTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= columnCount())
        return {};
    const GridColumn& layout = column(section);
    switch (role) {
        case Qt::DisplayRole:
            return layout.title;
        case FieldNameRole:
            return QString::fromLatin1(layout.field.data(), static_cast<qsizetype>(layout.field.size()));
        case LayoutWidthRole:
            return layout.width;
        case CellDisplayRole:
            return static_cast<int>(layout.display);
        case TextWidthRole:
            return layout.textWidth;
        default:
            return {};
    }
}

QString LinkedTableModel::displayText(int section, const QVariant& value) const {
    if (!value.isValid())
        return {};
    switch (column(section).display) {
        case CellDisplay::Text:
            return value.toString();
        case CellDisplay::Integer:
            return QString::number(value.toLongLong());
        case CellDisplay::Icon:
            return {};
        case CellDisplay::Percent:
            return QString::fromLatin1(FormatFixed4(value.toLongLong(), 2, '.')).replace(u'.', decimalPoint_);
    }
    return {};
}

QVariant LinkedTableModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const CellDisplay display = column(index.column()).display;
    switch (role) {
        case Qt::DisplayRole:
            return displayText(index.column(), value(index.row(), index.column()));
        case Qt::EditRole: {
            // An icon column is edited as its number.
            const QVariant raw = value(index.row(), index.column());
            return display == CellDisplay::Icon && raw.isValid() ? QString::number(raw.toLongLong())
                                                                 : displayText(index.column(), raw);
        }
        case RawValueRole:
            return value(index.row(), index.column());
        case Qt::TextAlignmentRole:
            if (display == CellDisplay::Integer || display == CellDisplay::Percent)
                return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
            return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
        default:
            return {};
    }
}

Qt::ItemFlags LinkedTableModel::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}

void LinkedTableModel::setLinked(bool on) {
    if (on == linked_)
        return;
    beginResetModel();
    linked_ = on;
    if (on)
        attach();
    else
        detach();
    endResetModel();
    if (on)
        emit currentRowChanged(currentRow());
}

}  // namespace tally::ui
