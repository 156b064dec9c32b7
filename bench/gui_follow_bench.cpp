// Times following a log in the main window: how long a big backlog takes to read and the longest
// single pass of the event loop meanwhile, then how long after a write the grid shows it.
// Usage: tallyscope-gui-follow-bench BACKLOG_LOG APPDIR [INTERVAL_MS]
// (APPDIR holds dots.txt and skills.txt; a scratch log is written there). Runs on the offscreen
// platform unless another is chosen.

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QLineEdit>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <random>
#include <vector>

#include "app/application.h"
#include "grid/db_grid.h"
#include "live/log_watch.h"
#include "models/character_list_model.h"
#include "settings/settings_store.h"
#include "tallyscope/codepage.h"
#include "windows/uMain.h"

namespace {

// The longest time between two firings of a timer that asks to fire every millisecond: how long the
// event loop was kept from the user's input at most.
class LoopGaps : public QObject {
  public:
    LoopGaps() {
        connect(&timer_, &QTimer::timeout, this, [this] {
            if (clock_.isValid())
                longest_ = std::max(longest_, clock_.nsecsElapsed());
            clock_.start();
        });
        timer_.start(1);
    }
    double LongestMs() const { return static_cast<double>(longest_) / 1e6; }

  private:
    QTimer timer_;
    QElapsedTimer clock_;
    qint64 longest_ = 0;
};

void Append(const QString& path, const std::string& utf8Line) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append))
        std::abort();
    file.write(QByteArray::fromStdString(tally::Utf8ToCp1251(utf8Line) + "\r\n"));
}

// The total damage the grid shows in its first row, or -1.
qlonglong ShownTotal(tally::ui::TfMain& main) {
    const QAbstractItemModel* model = main.grid()->model();
    if (model->rowCount() == 0)
        return -1;
    return model->index(0, tally::ui::CharacterListModel::DmgAllColumn)
        .data(tally::ui::RawValueRole)
        .toLongLong();
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: tallyscope-gui-follow-bench BACKLOG_LOG APPDIR [INTERVAL_MS]\n");
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const QString appDir = QString::fromLocal8Bit(argv[2]);
    tally::ui::Application windows(appDir);
    windows.fightSettings().followInterval = argc > 3 ? std::atoi(argv[3]) : 1000;
    windows.ShowMainWindow();
    tally::ui::TfMain& main = windows.fMain();
    auto* path = main.findChild<QLineEdit*>(QStringLiteral("eFN"));
    tally::ui::LogWatch& watch = main.logWatch();

    // The backlog: the whole file when following starts.
    path->setText(QString::fromLocal8Bit(argv[1]));
    QApplication::processEvents();
    {
        LoopGaps gaps;
        QElapsedTimer clock;
        clock.start();
        main.cbFollowClick(true);
        do
            QApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
        while (!watch.CaughtUp() || clock.elapsed() < 100);
        const qint64 elapsed = clock.elapsed();
        QFile log(QString::fromLocal8Bit(argv[1]));
        std::printf(
            "backlog of %.1f MB caught up in %.2f s (%.1f MB/s); longest poll %.1f ms, longest "
            "wait of the event loop %.1f ms\n",
            static_cast<double>(log.size()) / 1e6, static_cast<double>(elapsed) / 1000.0,
            static_cast<double>(log.size()) / 1e3 / static_cast<double>(elapsed), watch.LongestPollMs(),
            gaps.LongestMs());
        const tally::LiveAnalysis& live = *watch.Analysis();
        std::printf("lines booked %llu, fights %zu, error: %s\n",
                    static_cast<unsigned long long>(live.LinesBooked()), live.Fights().size(),
                    live.WholeLogError() ? live.WholeLogError()->c_str() : "none");
        main.cbFollowClick(false);
    }

    // Latency: a damage line appended after a quiet spell, and then lines every 200 ms.
    const QString scratch = appDir + QStringLiteral("/follow-bench.log");
    QFile::remove(scratch);
    Append(scratch, "2026.12.09 10:00:00 : Лиса использует Сотрясение I. Манекен получает 1 ед. урона.");
    path->setText(scratch);
    main.cbFollowClick(true);
    std::mt19937 random(7);
    qlonglong total = 1;
    auto measure = [&](int quietMs) {
        QEventLoop quiet;
        QTimer::singleShot(quietMs, &quiet, &QEventLoop::quit);
        quiet.exec();
        const int amount = 100 + static_cast<int>(random() % 900);
        total += amount;
        Append(scratch, "2026.12.09 10:00:01 : Лиса использует Сотрясение I. Манекен получает " +
                            std::to_string(amount) + " ед. урона.");
        QElapsedTimer clock;
        clock.start();
        while (ShownTotal(main) != total && clock.elapsed() < 10000)
            QApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
        QApplication::processEvents();  // the repaint
        return static_cast<double>(clock.nsecsElapsed()) / 1e6;
    };
    std::vector<double> afterQuiet, steady;
    for (int i = 0; i < 10; ++i)
        afterQuiet.push_back(
            measure(windows.fightSettings().followInterval + 300 + static_cast<int>(random() % 700)));
    for (int i = 0; i < 20; ++i)
        steady.push_back(measure(200));
    std::printf("write to grid after a quiet spell: median %.1f ms, longest %.1f ms (%zu writes)\n",
                Median(afterQuiet), *std::max_element(afterQuiet.begin(), afterQuiet.end()),
                afterQuiet.size());
    std::printf("write to grid while writing every 200 ms: median %.1f ms, longest %.1f ms (%zu writes)\n",
                Median(steady), *std::max_element(steady.begin(), steady.end()), steady.size());
    main.cbFollowClick(false);
    QFile::remove(scratch);
    return 0;
}
