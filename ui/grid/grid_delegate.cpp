#include "grid/grid_delegate.h"

#include <QApplication>
#include <QLineEdit>
#include <QPainter>
#include <QRegularExpressionValidator>

#include "grid/img_list.h"
#include "models/linked_table_model.h"

namespace tally::ui {
namespace {

CellDisplay DisplayOf(const QModelIndex& index) {
    return static_cast<CellDisplay>(
        index.model()->headerData(index.column(), Qt::Horizontal, CellDisplayRole).toInt());
}

}  // namespace

GridDelegate::GridDelegate(const ImgList& images, QObject* parent)
    : QStyledItemDelegate(parent), images_(images) {}

void GridDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                         const QModelIndex& index) const {
    if (DisplayOf(index) != CellDisplay::Icon) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    // The cell's background, selection and focus as for any cell, then the icon on top.
    QStyleOptionViewItem cell = option;
    initStyleOption(&cell, index);
    cell.text.clear();
    cell.icon = QIcon();
    cell.features &= ~(QStyleOptionViewItem::HasDisplay | QStyleOptionViewItem::HasDecoration);
    const QWidget* widget = cell.widget;
    QStyle* style = widget ? widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &cell, painter, widget);

    const QVariant value = index.data(RawValueRole);
    bool isNumber = false;
    const qlonglong number = value.toLongLong(&isNumber);
    if (!value.isValid() || !isNumber || !ImgList::Has(number))
        return;
    const QPixmap icon = images_.pixmap(static_cast<int>(number));
    const QRect target = QStyle::alignedRect(cell.direction, Qt::AlignCenter,
                                             QSize(ImgList::kSize, ImgList::kSize), cell.rect);
    painter->drawPixmap(target.topLeft(), icon);
}

QWidget* GridDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& /*option*/,
                                    const QModelIndex& index) const {
    auto* editor = new QLineEdit(parent);
    editor->setFrame(false);
    if (DisplayOf(index) == CellDisplay::Text) {
        const int width = index.model()->headerData(index.column(), Qt::Horizontal, TextWidthRole).toInt();
        if (width > 0)
            editor->setMaxLength(width);
    } else {
        static const QRegularExpression kInteger(QStringLiteral("-?[0-9]*"));
        editor->setValidator(new QRegularExpressionValidator(kInteger, editor));
    }
    return editor;
}

}  // namespace tally::ui
