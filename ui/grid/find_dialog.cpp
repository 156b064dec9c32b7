#include "grid/find_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "grid/table_grid.h"

namespace tally::ui {

FindDialog::FindDialog(TableGrid& grid)
    : QDialog(&grid),
      grid_(grid),
      text_(new QLineEdit(this)),
      matchCase_(new QCheckBox(QStringLiteral("С учётом регистра"), this)),
      findNext_(new QPushButton(QStringLiteral("Найти далее"), this)),
      result_(new QLabel(this)) {
    setObjectName(QStringLiteral("FindDialog"));
    setWindowTitle(QStringLiteral("Поиск"));
    setModal(false);
    text_->setObjectName(QStringLiteral("FindText"));
    matchCase_->setObjectName(QStringLiteral("MatchCase"));
    findNext_->setObjectName(QStringLiteral("FindNext"));
    result_->setObjectName(QStringLiteral("FindResult"));
    findNext_->setDefault(true);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Найти:"), text_);
    form->addRow(QString(), matchCase_);
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(findNext_, QDialogButtonBox::ActionRole);
    QPushButton* close = buttons->addButton(QDialogButtonBox::Close);
    close->setText(QStringLiteral("Закрыть"));
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(result_);
    layout->addWidget(buttons);

    connect(findNext_, &QPushButton::clicked, this, &FindDialog::findNext);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::hide);
    connect(text_, &QLineEdit::textChanged, result_, &QLabel::clear);
}

QString FindDialog::resultText() const {
    return result_->text();
}

bool FindDialog::findNext() {
    const bool found =
        grid_.findNext(text_->text(), matchCase_->isChecked() ? Qt::CaseSensitive : Qt::CaseInsensitive);
    result_->setText(found ? QString() : QStringLiteral("Не найдено"));
    return found;
}

}  // namespace tally::ui
