#include "grid/editable_grid.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>

#include "models/linked_table_model.h"

namespace tally::ui {

EditableGrid::EditableGrid(const ImgList& images, QWidget* parent) : TableGrid(images, parent) {
    setReadOnly(false);
}

bool EditableGrid::insertRowAt(int row) {
    LinkedTableModel* model = tableModel();
    if (!model || !model->isLinked() || !model->insertRows(row, 1))
        return false;
    const int column = currentIndex().isValid() ? currentIndex().column() : 0;
    setCurrentIndex(model->index(row, column));
    return true;
}

bool EditableGrid::insertRowBeforeCurrent() {
    const int row = currentIndex().isValid() ? currentIndex().row() : 0;
    return insertRowAt(row);
}

bool EditableGrid::appendRow() {
    LinkedTableModel* model = tableModel();
    return model && insertRowAt(model->rowCount());
}

bool EditableGrid::deleteCurrentRow() {
    LinkedTableModel* model = tableModel();
    if (!model || !model->isLinked() || !currentIndex().isValid())
        return false;
    return model->removeRows(currentIndex().row(), 1);
}

void EditableGrid::keyPressEvent(QKeyEvent* event) {
    if (state() != QAbstractItemView::EditingState) {
        if (event->key() == Qt::Key_Insert && event->modifiers() == Qt::NoModifier) {
            insertRowBeforeCurrent();
            event->accept();
            return;
        }
        if (event->key() == Qt::Key_Delete && event->modifiers() == Qt::ControlModifier) {
            deleteCurrentRow();
            event->accept();
            return;
        }
    }
    TableGrid::keyPressEvent(event);
}

void EditableGrid::contextMenuEvent(QContextMenuEvent* event) {
    const bool linked = tableModel() && tableModel()->isLinked();
    QMenu menu(this);
    QAction* insert =
        menu.addAction(QStringLiteral("Вставить строку\tIns"), this, &EditableGrid::insertRowBeforeCurrent);
    QAction* append =
        menu.addAction(QStringLiteral("Добавить строку в конец"), this, &EditableGrid::appendRow);
    QAction* remove =
        menu.addAction(QStringLiteral("Удалить строку\tCtrl+Del"), this, &EditableGrid::deleteCurrentRow);
    insert->setEnabled(linked);
    append->setEnabled(linked);
    remove->setEnabled(linked && currentIndex().isValid());
    menu.exec(event->globalPos());
}

}  // namespace tally::ui
