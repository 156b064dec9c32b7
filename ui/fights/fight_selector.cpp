#include "fights/fight_selector.h"

#include <QAbstractItemView>
#include <QEvent>
#include <algorithm>

#include "tallyscope/damage_report.h"

namespace tally::ui {

FightSelector::FightSelector(QWidget* parent) : QComboBox(parent) {
    SetFights({});
    // Only the user's choice switches the tables; the program's own resets after a run do not.
    connect(this, &QComboBox::activated, this, [this](int entry) {
        if (currentFightEntry_ && entry == 0)
            emit currentFightChosen();
        else
            emit fightChosen(entry - WholeLogEntry() - 1);
    });
}

void FightSelector::SetFights(const std::vector<Fight>& fights) {
    clear();
    if (currentFightEntry_)
        addItem(QString::fromUtf8(kCurrentFight));
    addItem(QString::fromUtf8(kWholeLog));
    for (const Fight& fight : fights)
        addItem(QString::fromStdString(FightSummary(fight)));
    setCurrentIndex(WholeLogEntry());
    FitListWidth();
}

void FightSelector::UpdateFights(const std::vector<Fight>& fights) {
    const int first = WholeLogEntry() + 1;
    if (static_cast<std::size_t>(count() - first) > fights.size()) {
        SetFights(fights);
        if (currentFightEntry_)
            setCurrentIndex(0);
        return;
    }
    bool changed = false;
    for (std::size_t i = 0; i < fights.size(); ++i) {
        const QString text = QString::fromStdString(FightSummary(fights[i]));
        const int entry = first + static_cast<int>(i);
        if (entry < count() && itemText(entry) == text)
            continue;
        if (entry < count())
            setItemText(entry, text);
        else
            addItem(text);
        changed = true;
    }
    if (changed)
        FitListWidth();
}

void FightSelector::SetCurrentFightEntry(bool shown) {
    if (shown == currentFightEntry_)
        return;
    const int chosen = currentIndex();
    currentFightEntry_ = shown;
    if (shown) {
        insertItem(0, QString::fromUtf8(kCurrentFight));
        setCurrentIndex(chosen + 1);
    } else {
        removeItem(0);
        setCurrentIndex(chosen > 0 ? chosen - 1 : 0);
    }
}

void FightSelector::ChooseCurrentFight() {
    if (currentFightEntry_)
        setCurrentIndex(0);
}

void FightSelector::FitListWidth() {
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
