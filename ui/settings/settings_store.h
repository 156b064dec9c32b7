#pragma once
// The settings file options.ini: the main window's placement, the chat-log path, the four user
// switches and the fights' idle gap, read once while the main window is created and written once when
// it closes.

#include <QString>
#include <array>

#include "tallyscope/analysis_run.h"
#include "tallyscope/fights.h"

namespace tally::ui {

// The main window as the settings file sees it: its outer placement in screen pixels and the text of
// its path box.
class MainWindowSide {
  public:
    virtual ~MainWindowSide() = default;
    virtual int Top() const = 0;
    virtual int Left() const = 0;
    virtual int Width() const = 0;   // outer width
    virtual int Height() const = 0;  // outer height
    virtual void SetTop(int top) = 0;
    virtual void SetLeft(int left) = 0;
    virtual void SetWidth(int width) = 0;
    virtual void SetHeight(int height) = 0;
    virtual QString PathText() const = 0;
    virtual void SetPathText(const QString& text) = 0;
};

// The main window's smallest outer size; stored sizes below it are raised to it.
inline constexpr int kMainWindowMinWidth = 450;
inline constexpr int kMainWindowMinHeight = 500;

struct SettingsKey {
    const char16_t* section;
    const char16_t* key;
};

// The keys of the file, in the order in which they are read and written.
inline constexpr SettingsKey kTopKey{u"DESKTOP", u"Top"};
inline constexpr SettingsKey kLeftKey{u"DESKTOP", u"Left"};
inline constexpr SettingsKey kWidthKey{u"DESKTOP", u"Width"};
inline constexpr SettingsKey kHeightKey{u"DESKTOP", u"Height"};
inline constexpr SettingsKey kPathKey{u"OPTIONS", u"Path"};
inline constexpr SettingsKey kCalcTypeKey{u"OPTIONS", u"CalcType"};
inline constexpr SettingsKey kShowDotsKey{u"VIEW", u"ShowDots"};
inline constexpr SettingsKey kHideMobsKey{u"VIEW", u"HideMobs"};
inline constexpr SettingsKey kShowAdvancedKey{u"VIEW", u"ShowAdvanced"};
inline constexpr std::array<SettingsKey, 9> kSettingsKeys{kTopKey,      kLeftKey,     kWidthKey,
                                                          kHeightKey,   kPathKey,     kCalcTypeKey,
                                                          kShowDotsKey, kHideMobsKey, kShowAdvancedKey};

// How the desktop program splits a log into fights: a damage line more than fightGap seconds after the
// last timed damage line starts a new fight. Kept in the section [FIGHTS], after the nine keys above.
struct FightSettings {
    std::int32_t fightGap = static_cast<std::int32_t>(kDefaultFightGap);
    // "Следить за логом": the main window follows the log as the game writes it, reading what was
    // appended at most once per followInterval milliseconds.
    bool follow = false;
    std::int32_t followInterval = 1000;
};

// The longest idle gap the settings window offers and the file is read with: a day.
inline constexpr std::int32_t kMaxFightGap = 24 * 60 * 60;

// The follow interval the file is read with: from a tenth of a second, so that a busy log does not
// redraw the window all the time, to a minute, beyond which following is hardly live.
inline constexpr std::int32_t kMinFollowInterval = 100;
inline constexpr std::int32_t kMaxFollowInterval = 60 * 1000;

inline constexpr SettingsKey kFightGapKey{u"FIGHTS", u"FightGap"};
inline constexpr SettingsKey kFollowKey{u"FIGHTS", u"Follow"};
inline constexpr SettingsKey kFollowIntervalKey{u"FIGHTS", u"FollowInterval"};

// The current directory as text, taken once when the program starts; the settings file and the reference
// lists live there even if the current directory changes later.
QString TakeAppDir();

// AppDir followed by the separator and "options.ini", appended without looking at how AppDir ends.
QString SettingsFilePath(const QString& appDir);

// Reads the nine keys in order. Each placement value is applied to the window at once (a missing or
// unreadable one keeps the window's current value); the path goes into the path box and the switches
// into settings. A missing file or key gives the defaults; nothing is reported.
void LoadSettings(const QString& settingsPath, MainWindowSide& window, AppSettings& settings);

// Writes the nine keys in order from the window's placement at this moment, its path box and settings.
// Throws ProfileWriteError ("Unable to write to <path>.") at the first key that cannot be written; the
// keys after it are not written.
void SaveSettings(const QString& settingsPath, const MainWindowSide& window, const AppSettings& settings);

// Reads the [FIGHTS] section. A missing key, or a value that is not a whole number of seconds from 0 to
// kMaxFightGap, gives the default gap of 30 seconds. Follow is on only for a value of 1; a missing or
// unreadable FollowInterval gives 1000, one outside kMinFollowInterval..kMaxFollowInterval the nearest
// end of that range.
void LoadFightSettings(const QString& settingsPath, FightSettings& fights);

// Writes the [FIGHTS] section; called after SaveSettings, so that its keys follow the nine. Follow is
// written when it is on or the file already has it, so that a file of a user who never followed a log
// keeps the keys it always had; FollowInterval is the user's to edit and is never written. Throws
// ProfileWriteError as SaveSettings does.
void SaveFightSettings(const QString& settingsPath, const FightSettings& fights);

}  // namespace tally::ui
