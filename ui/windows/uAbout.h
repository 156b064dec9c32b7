#pragma once
// The help window: a bold heading, the home-page link and the fixed help text.

#include <QRect>
#include <QWidget>

#include "windows/home_page.h"

class QLabel;
class QPlainTextEdit;

namespace tally::ui {

class ClickableLabel;
class OuterPlacement;

class TfAbout : public QWidget {
    Q_OBJECT
  public:
    // openUrl receives the home-page address when the link is clicked.
    explicit TfAbout(UrlOpener openUrl = OpenInBrowser, QWidget* parent = nullptr);

    // The main window's help button: places the window 5 pixels right of and 30 below the main window's
    // top-left corner (outer frame, screen pixels) and shows it. It is placed anew each time.
    void ShowBeside(const QRect& mainWindowFrame);

  private:
    void LinkClick();

    UrlOpener openUrl_;
    OuterPlacement* placement_;
    QLabel* Label2_;
    ClickableLabel* Link_;
    QPlainTextEdit* Help_;
};

}  // namespace tally::ui
