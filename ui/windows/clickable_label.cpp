#include "windows/clickable_label.h"

#include <QMouseEvent>

namespace tally::ui {

void ClickableLabel::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        pressed_ = true;
    QLabel::mousePressEvent(event);
}

void ClickableLabel::mouseReleaseEvent(QMouseEvent* event) {
    const bool click =
        event->button() == Qt::LeftButton && pressed_ && rect().contains(event->position().toPoint());
    if (event->button() == Qt::LeftButton)
        pressed_ = false;
    QLabel::mouseReleaseEvent(event);
    if (click)
        emit clicked();
}

}  // namespace tally::ui
