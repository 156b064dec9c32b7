#pragma once
// Follows the chat log on the window thread while the game writes it. What was appended is read at
// most once per interval, and at once after a quiet spell when the file system says the log or its
// folder changed; a poll of an unchanged log only compares its identity and size. A long backlog (a
// big log when following starts) is read in slices of a few tens of milliseconds, one slice per pass
// of the event loop, so that the window keeps answering the user until it has caught up.

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>
#include <cstdint>
#include <filesystem>
#include <memory>

#include "tallyscope/live_analysis.h"
#include "tallyscope/log_follower.h"

class QFileSystemWatcher;

namespace tally::ui {

class LogWatch final : public QObject {
    Q_OBJECT

  public:
    // What the status bar says about the log.
    enum class State { Following, Missing, Restarted, ReadFailed };

    static constexpr char kFollowing[] = "Следим за логом";
    static constexpr char kRestarted[] = "Лог начат заново: следим с его начала";
    static constexpr char kMissing[] = "Лог не найден: ждём, пока игра создаст его снова";
    static constexpr char kReadFailed[] = "Лог не читается, попробуем снова:";

    explicit LogWatch(QObject* parent = nullptr);
    ~LogWatch() override;

    // Starts following the log at path from its first byte, with fresh tables booked with settings and
    // copies of the reference lists; a log followed before is let go.
    void Start(const std::filesystem::path& path, const DotTable& mtDots, const SkillTable& mtSkills,
               const LiveSettings& settings, int intervalMs);
    // Stops reading; the analysis stays as it is.
    void Stop();
    bool IsFollowing() const { return following_; }
    // While paused (an analysis run of the window is in progress) nothing is read; resumed, the log is
    // read soon.
    void SetPaused(bool paused);

    // The analysis of the followed log; null before the first Start.
    const LiveAnalysis* Analysis() const { return live_.get(); }
    const std::filesystem::path& Path() const { return path_; }
    void StartNewMeasurement();
    // Forgets what was booked and reads the file at the path again from its beginning, when there is
    // one: the log was cleared.
    void Restart();

    // Reads what is waiting now, one slice, as a poll does; for the window's tests and measurements.
    void PollNow() { Poll(); }
    // False while a backlog waits to be read.
    bool CaughtUp() const { return caughtUp_; }
    // The longest poll so far in milliseconds, the showing of what it read included.
    double LongestPollMs() const { return longestPollMs_; }

  signals:
    // Lines were booked, or the log started again from its beginning. While a backlog is read this
    // comes at most every few hundred milliseconds and once more when it is caught up. restarted: the
    // log started again from its beginning since the last signal.
    void booked(bool restarted);
    // What the status bar should say; detail is the platform's message for a failed read.
    void stateChanged(State state, const QString& detail);

  private:
    void Poll();
    // A change seen by the file system watcher: read soon, but not more often than the interval.
    void Wake();
    void WatchPaths();
    void Report(State state, const std::string& detail);

    std::filesystem::path path_;
    std::unique_ptr<LogFollower> follower_;
    std::unique_ptr<LiveAnalysis> live_;
    QTimer poll_;  // every interval: the slow fallback when the watcher misses a change
    QTimer soon_;  // single shot: the next slice of a backlog, or a read that waits for the interval
    QFileSystemWatcher* watcher_;
    QElapsedTimer sinceBooked_;
    QElapsedTimer sinceShown_;
    int intervalMs_ = 1000;
    bool following_ = false;
    bool paused_ = false;
    bool caughtUp_ = true;
    bool pendingShow_ = false;
    bool pendingRestart_ = false;
    std::optional<State> state_;
    double longestPollMs_ = 0;
};

}  // namespace tally::ui
