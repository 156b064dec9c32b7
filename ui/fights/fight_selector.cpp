#include "fights/fight_selector.h"

#include <QAbstractItemView>
#include <QEvent>
#include <algorithm>

#include "tallyscope/damage_report.h"

namespace tally::ui {

FightSelector::FightSelector(QWidget* parent) : QComboBox(parent) {
    SetFights({});
    // Only the user's choice switches the tables; the program's own resets after a run do not.
    connect(this, &QComboBox::activated, this, [this](int entry) { emit fightChosen(entry - 1); });
}

void FightSelector::SetFights(const std::vector<Fight>& fights) {
    clear();
    addItem(QString::fromUtf8(kWholeLog));
    for (const Fight& fight : fights)
        addItem(QString::fromStdString(FightSummary(fight)));
    setCurrentIndex(0);
    // The list opens wide enough for the longest entry, even where the box itself is narrower.
    view()->setMinimumWidth(view()->sizeHintForColumn(0) + 2 * view()->frameWidth());
}

void FightSelector::StretchToParent(int minimumWidth, int rightMargin) {
    minimumWidth_ = minimumWidth;
    rightMargin_ = rightMargin;
    if (QWidget* parent = parentWidget())
        parent->installEventFilter(this);
    FitToParent();
}

void FightSelector::MoveLeftEdgeTo(int x) {
    minimumWidth_ = std::max(0, minimumWidth_ - (x - this->x()));  // the narrowest box ends where it did
    move(x, y());
    FitToParent();
}

bool FightSelector::eventFilter(QObject* watched, QEvent* event) {
    if (watched == parentWidget() && event->type() == QEvent::Resize)
        FitToParent();
    return QComboBox::eventFilter(watched, event);
}

void FightSelector::FitToParent() {
    const QWidget* parent = parentWidget();
    if (!parent || rightMargin_ < 0)
        return;
    resize(std::max(minimumWidth_, parent->width() - rightMargin_ - x()), height());
}

}  // namespace tally::ui
