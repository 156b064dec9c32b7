#include "live/log_watch.h"

#include <QFileInfo>
#include <QFileSystemWatcher>
#include <algorithm>
#include <utility>

#include "tallyscope/platform.h"

namespace tally::ui {
namespace {

// One read of a backlog: small enough that booking it takes a few milliseconds, so that the time limit
// below is kept closely.
constexpr std::uint64_t kSliceBytes = 128 * 1024;
// How long one pass may read a backlog before it lets the event loop run: well under what a user
// notices as a stuck window.
constexpr qint64 kSliceMs = 30;
// While a backlog is read, the tables are shown again at most this often: deriving them costs time the
// reading needs more.
constexpr qint64 kBacklogShowMs = 250;

QString PathText(const std::filesystem::path& path) {
    return QString::fromStdString(platform::PathToUtf8(path));
}

}  // namespace

LogWatch::LogWatch(QObject* parent) : QObject(parent), watcher_(new QFileSystemWatcher(this)) {
    soon_.setSingleShot(true);
    connect(&poll_, &QTimer::timeout, this, &LogWatch::Poll);
    connect(&soon_, &QTimer::timeout, this, &LogWatch::Poll);
    connect(watcher_, &QFileSystemWatcher::fileChanged, this, &LogWatch::Wake);
    connect(watcher_, &QFileSystemWatcher::directoryChanged, this, &LogWatch::Wake);
}

LogWatch::~LogWatch() = default;

void LogWatch::Start(const std::filesystem::path& path, const DotTable& mtDots, const SkillTable& mtSkills,
                     const LiveSettings& settings, int intervalMs) {
    Stop();
    path_ = path;
    follower_ = std::make_unique<LogFollower>(path);
    live_ = std::make_unique<LiveAnalysis>(mtDots, mtSkills, settings);
    intervalMs_ = intervalMs;
    following_ = true;
    caughtUp_ = true;
    pendingShow_ = false;
    pendingRestart_ = false;
    state_.reset();
    sinceBooked_.invalidate();
    sinceShown_.invalidate();
    poll_.start(intervalMs_);
    soon_.start(0);
    Report(State::Following, {});
}

void LogWatch::Stop() {
    following_ = false;
    poll_.stop();
    soon_.stop();
    // The log is let go, so that nothing of this program stands in the game's way.
    follower_.reset();
    if (!watcher_->files().isEmpty())
        watcher_->removePaths(watcher_->files());
    if (!watcher_->directories().isEmpty())
        watcher_->removePaths(watcher_->directories());
}

void LogWatch::SetPaused(bool paused) {
    paused_ = paused;
    if (!paused)
        Wake();
}

void LogWatch::StartNewMeasurement() {
    if (!live_)
        return;
    live_->StartNewMeasurement();
    emit booked(false);
}

void LogWatch::Restart() {
    if (!live_ || !follower_)
        return;
    live_->Restart();
    follower_->Rewind();
    sinceBooked_.invalidate();
    emit booked(true);
    Wake();
}

void LogWatch::Wake() {
    if (following_ && !soon_.isActive())
        soon_.start(0);
}

void LogWatch::Poll() {
    if (!following_ || paused_)
        return;
    if (caughtUp_ && sinceBooked_.isValid() && sinceBooked_.elapsed() < intervalMs_) {
        // While the game writes, the window is redrawn at most once per interval.
        if (!soon_.isActive())
            soon_.start(static_cast<int>(intervalMs_ - sinceBooked_.elapsed()));
        return;
    }
    QElapsedTimer pass;
    pass.start();
    bool read = false;
    bool restarted = false;
    LogFollower::Progress progress;
    do {
        progress = follower_->Read(kSliceBytes, *live_);
        restarted = restarted || progress.restarted;
        read = read || progress.bytesRead > 0 || progress.restarted;
    } while (!progress.caughtUp && !progress.missing && progress.error.empty() && pass.elapsed() < kSliceMs);
    caughtUp_ = progress.caughtUp;

    if (progress.missing)
        Report(State::Missing, progress.error);
    else if (!progress.error.empty())
        Report(State::ReadFailed, progress.error);
    else if (restarted)
        Report(State::Restarted, {});
    else if (state_ == State::Missing || state_ == State::ReadFailed)
        Report(State::Following, {});

    if (read) {
        sinceBooked_.start();
        pendingShow_ = true;
        pendingRestart_ = pendingRestart_ || restarted;
    }
    if (pendingShow_ && (caughtUp_ || !sinceShown_.isValid() || sinceShown_.elapsed() >= kBacklogShowMs)) {
        pendingShow_ = false;
        sinceShown_.start();
        const bool wasRestarted = std::exchange(pendingRestart_, false);
        emit booked(wasRestarted);
    }
    WatchPaths();
    if (!caughtUp_)
        soon_.start(0);  // the next slice once the events waiting have been handled
    longestPollMs_ = std::max(longestPollMs_, static_cast<double>(pass.nsecsElapsed()) / 1e6);
}

void LogWatch::WatchPaths() {
    // A watch ends when its file is deleted or replaced; the folder's watch sees the log come back.
    const QString file = PathText(path_);
    if (!watcher_->files().contains(file) && QFileInfo(file).isFile())
        watcher_->addPath(file);
    const QString folder = QFileInfo(file).absolutePath();
    if (!watcher_->directories().contains(folder) && QFileInfo(folder).isDir())
        watcher_->addPath(folder);
}

void LogWatch::Report(State state, const std::string& detail) {
    // A restart is news each time; a lasting state is said once.
    if (state_ == state && state != State::Restarted)
        return;
    state_ = state;
    emit stateChanged(state, QString::fromStdString(detail));
}

}  // namespace tally::ui
