#pragma once
// A top-level window placed by its outer rectangle, the frame included, as the settings file stores the
// main window and as the auxiliary windows are placed beside it.
//
// The platform tells the frame at its own time: Windows as soon as the native window exists, an X11 window
// manager only once it has framed the shown window. Until the frame is known it counts as none; when it
// becomes known or changes, the window is placed again from the frame it now has, so its outer rectangle
// ends up the one asked for however late the frame arrives. Outer() is the rectangle asked for until the
// window manager has confirmed it, then the window's own frame rectangle as the user moves and sizes it
// (a minimized window keeps the rectangle it had), so it does not depend on how soon after a start the
// program closes.

#include <QElapsedTimer>
#include <QMargins>
#include <QObject>
#include <QRect>
#include <functional>
#include <optional>

class QWidget;

namespace tally::ui {

class OuterPlacement : public QObject {
  public:
    // The outer rectangle for a given frame.
    using Placer = std::function<QRect(const QMargins& frame)>;

    explicit OuterPlacement(QWidget* window);

    // Places the window now, with the frame known so far, and again whenever the frame or the rectangle
    // the placer gives changes, until the window is shown with its frame and the window manager has put
    // it there.
    void Place(Placer placer);
    void PlaceAt(const QRect& outer);
    // The smallest outer size; the window's own minimum follows from it and the frame.
    void SetMinimumOuterSize(const QSize& size);

    QRect Outer() const;
    // The frame as the platform knows it now; none until the native window exists.
    QMargins Frame() const;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QRect Wanted(const QMargins& frame) const;
    void Apply();
    void Follow();

    QWidget* window_;
    Placer placer_;   // empty once the window is where it was put
    QRect outer_;     // the outer rectangle asked for or, once placed, the window's
    QMargins frame_;  // the frame the last placement counted with
    QSize minimumOuter_;
    std::optional<QRect> awaited_;  // the inner rectangle asked of the window manager, not yet confirmed
    QElapsedTimer sinceApplied_;
    bool applying_ = false;
};

}  // namespace tally::ui
