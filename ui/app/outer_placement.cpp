#include "app/outer_placement.h"

#include <QEvent>
#include <QWidget>
#include <QWindow>

namespace tally::ui {
namespace {

// A window manager that changes the rectangle asked for (to keep the window on a screen, say) never
// confirms it; after this long the window's own rectangle counts.
constexpr int kConfirmationWaitMs = 2000;

QMargins Between(const QRect& outer, const QRect& inner) {
    return {inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
            outer.bottom() - inner.bottom()};
}

}  // namespace

OuterPlacement::OuterPlacement(QWidget* window) : QObject(window), window_(window) {
    window_->installEventFilter(this);
}

QMargins OuterPlacement::Frame() const {
    if (!window_->windowHandle() || !window_->windowHandle()->handle())
        return {};
    return Between(window_->frameGeometry(), window_->geometry());
}

void OuterPlacement::Place(Placer placer) {
    placer_ = std::move(placer);
    Apply();
}

void OuterPlacement::PlaceAt(const QRect& outer) {
    Place([outer](const QMargins&) { return outer; });
}

void OuterPlacement::SetMinimumOuterSize(const QSize& size) {
    minimumOuter_ = size;
    if (placer_)
        Apply();
    else
        Follow();
}

QRect OuterPlacement::Outer() const {
    return outer_;
}

QRect OuterPlacement::Wanted(const QMargins& frame) const {
    QRect outer = placer_(frame);
    if (minimumOuter_.isValid())
        outer.setSize(outer.size().expandedTo(minimumOuter_));
    return outer;
}

void OuterPlacement::Apply() {
    frame_ = Frame();
    const QSize frameSize(frame_.left() + frame_.right(), frame_.top() + frame_.bottom());
    outer_ = Wanted(frame_);
    const QRect inner = outer_ - frame_;
    applying_ = true;
    if (minimumOuter_.isValid())
        window_->setMinimumSize(minimumOuter_ - frameSize);
    window_->resize(inner.size());
    // A top-level window's position is that of its frame: before the frame is known the window manager
    // is asked to put the frame's corner there.
    window_->move(outer_.topLeft());
    applying_ = false;
    awaited_ = window_->isVisible() ? std::optional<QRect>(inner) : std::nullopt;
    sinceApplied_.start();
}

void OuterPlacement::Follow() {
    if (minimumOuter_.isValid()) {
        const QMargins frame = Frame();
        applying_ = true;
        window_->setMinimumSize(minimumOuter_ -
                                QSize(frame.left() + frame.right(), frame.top() + frame.bottom()));
        applying_ = false;
    }
}

bool OuterPlacement::eventFilter(QObject* watched, QEvent* event) {
    if (watched != window_ || applying_)
        return false;
    switch (event->type()) {
        case QEvent::Move:
        case QEvent::Resize:
        case QEvent::Show:
        case QEvent::WindowStateChange:
            break;
        default:
            return false;
    }
    const QMargins frame = Frame();
    if (frame != frame_) {
        // The frame has become known or changed: the outer rectangle stays, the inside gives way.
        if (!placer_) {
            const QRect outer = outer_;
            placer_ = [outer](const QMargins&) { return outer; };
        }
        Apply();
        return false;
    }
    if (placer_ && Wanted(frame) != outer_) {
        // A placement that follows the window's own size, which the window has just changed.
        Apply();
        return false;
    }
    if (!window_->isVisible() || window_->isMinimized())
        return false;
    if (placer_) {
        // Placed as asked once the window is shown with its frame and the window manager has put it there.
        const bool framed = !frame_.isNull();
        const bool confirmed =
            !awaited_ || window_->geometry() == *awaited_ || sinceApplied_.elapsed() > kConfirmationWaitMs;
        if (framed && confirmed) {
            placer_ = nullptr;
            awaited_.reset();
        }
        return false;
    }
    outer_ = window_->frameGeometry();
    return false;
}

}  // namespace tally::ui
