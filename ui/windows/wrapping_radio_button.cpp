#include "windows/wrapping_radio_button.h"

#include <QStyleOptionButton>
#include <QStylePainter>

namespace tally::ui {

void WrappingRadioButton::paintEvent(QPaintEvent* /*event*/) {
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);

    // The style draws the indicator alone; the caption is drawn below with wrapping, which the style's
    // own one-line label cannot do.
    QStyleOptionButton indicator = option;
    indicator.text.clear();
    indicator.rect = style()->subElementRect(QStyle::SE_RadioButtonIndicator, &option, this);
    indicator.rect.moveTop((height() - indicator.rect.height()) / 2);
    indicator.state &= ~QStyle::State_HasFocus;
    painter.drawPrimitive(QStyle::PE_IndicatorRadioButton, indicator);

    const QRect textArea = style()->subElementRect(QStyle::SE_RadioButtonContents, &option, this);
    const int flags = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap | Qt::TextShowMnemonic;
    painter.drawItemText(textArea, flags, palette(), isEnabled(), text(), QPalette::WindowText);

    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = fontMetrics().boundingRect(textArea, flags, text()).adjusted(-1, -1, 1, 1) & rect();
        painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
    }
}

bool WrappingRadioButton::hitButton(const QPoint& pos) const {
    return rect().contains(pos);
}

}  // namespace tally::ui
