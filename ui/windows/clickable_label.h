#pragma once
// A label that reports a click: a left-button press and release both inside the label, as a push button
// counts one.

#include <QLabel>

namespace tally::ui {

class ClickableLabel : public QLabel {
    Q_OBJECT
  public:
    using QLabel::QLabel;

  signals:
    void clicked();

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    bool pressed_ = false;
};

}  // namespace tally::ui
