#pragma once
// Draws and edits the cells of a grid. An icon column shows the icon of ImgList whose index is the
// field's value, centred and without text, and nothing for an empty value or one without an icon.
// Editors are one-line text boxes: number columns take only an optional minus and digits, text
// columns no more characters than their field holds.

#include <QStyledItemDelegate>

namespace tally::ui {

class ImgList;

class GridDelegate final : public QStyledItemDelegate {
    Q_OBJECT

  public:
    GridDelegate(const ImgList& images, QObject* parent);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;

  private:
    const ImgList& images_;
};

}  // namespace tally::ui
