// Times one analysis run in the main window, as the calculate button starts it, and counts how often
// the window repainted its progress bar meanwhile. Usage: tallyscope-gui-bench LOG APPDIR
// (APPDIR holds dots.txt and skills.txt). Runs on the offscreen platform unless another is chosen.

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QLineEdit>
#include <QProgressBar>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "app/application.h"
#include "windows/uMain.h"

namespace {

// Records when the progress bar was painted.
class PaintClock : public QObject {
  public:
    explicit PaintClock(const QElapsedTimer& clock) : clock_(clock) {}
    std::vector<qint64> paints;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            paints.push_back(clock_.elapsed());
        return QObject::eventFilter(watched, event);
    }

  private:
    const QElapsedTimer& clock_;
};

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: tallyscope-gui-bench LOG APPDIR\n");
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    tally::ui::Application windows(QString::fromLocal8Bit(argv[2]));
    windows.ShowMainWindow();
    windows.settings().showAdvanced = 1;  // the per-skill statistics on, as the tool runs with --stats
    tally::ui::TfMain& main = windows.fMain();
    main.findChild<QLineEdit*>(QStringLiteral("eFN"))->setText(QString::fromLocal8Bit(argv[1]));
    auto* bar = main.findChild<QProgressBar*>(QStringLiteral("ProgressBar"));
    QApplication::processEvents();

    QElapsedTimer clock;
    PaintClock paints(clock);
    bar->installEventFilter(&paints);
    clock.start();
    main.bCalcClick();
    const qint64 elapsed = clock.elapsed();

    qint64 longestGap = 0;
    qint64 previous = 0;
    for (const qint64 at : paints.paints) {
        longestGap = std::max(longestGap, at - previous);
        previous = at;
    }
    longestGap = std::max(longestGap, elapsed - previous);
    std::printf(
        "run: %.3f s\nprogress bar repaints: %zu (%.1f per second), longest gap %lld ms\n",
        static_cast<double>(elapsed) / 1000.0, paints.paints.size(),
        elapsed > 0 ? 1000.0 * static_cast<double>(paints.paints.size()) / static_cast<double>(elapsed) : 0.0,
        static_cast<long long>(longestGap));
    return 0;
}
