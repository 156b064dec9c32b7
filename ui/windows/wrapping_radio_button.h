#pragma once
// A radio button whose caption wraps onto further lines within the button's width, with the indicator
// centred beside the text block. The whole button area answers to the mouse.

#include <QRadioButton>

namespace tally::ui {

class WrappingRadioButton : public QRadioButton {
    Q_OBJECT
  public:
    using QRadioButton::QRadioButton;

  protected:
    void paintEvent(QPaintEvent* event) override;
    bool hitButton(const QPoint& pos) const override;
};

}  // namespace tally::ui
