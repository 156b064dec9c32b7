#pragma once
// The desktop program's start-up: the five windows created once, in order (main window, reference
// lists, settings, help, statistics), each running its creation handler, with only the main window
// shown. Closing the main window saves the settings and ends the program.

#include <QString>
#include <memory>

#include "settings/settings_store.h"
#include "tallyscope/analysis_run.h"

namespace tally::ui {

class TfAbout;
class TfAdvanced;
class TfMain;
class TfSettings;
class TfStat;

class Application {
  public:
    // appDir: the directory of the settings file and the reference lists (the current directory at
    // start-up).
    explicit Application(const QString& appDir);
    ~Application();

    void ShowMainWindow();

    AppSettings& settings() { return settings_; }
    FightSettings& fightSettings() { return fightSettings_; }
    TfMain& fMain() { return *fMain_; }
    TfStat& fStat() { return *fStat_; }
    TfSettings& fSettings() { return *fSettings_; }
    TfAbout& fAbout() { return *fAbout_; }
    TfAdvanced& fAdvanced() { return *fAdvanced_; }

  private:
    AppSettings settings_;
    FightSettings fightSettings_;
    std::unique_ptr<TfMain> fMain_;
    std::unique_ptr<TfStat> fStat_;
    std::unique_ptr<TfSettings> fSettings_;
    std::unique_ptr<TfAbout> fAbout_;
    std::unique_ptr<TfAdvanced> fAdvanced_;
};

}  // namespace tally::ui
