#include "settings/settings_store.h"

#include <QDir>
#include <algorithm>

#include "settings/profile_file.h"

namespace tally::ui {

namespace {

std::int32_t Read(const ProfileFile& file, SettingsKey key, std::int32_t defaultValue) {
    return file.ReadInteger(key.section, key.key, defaultValue);
}

void Write(ProfileFile& file, SettingsKey key, std::int32_t value) {
    file.WriteInteger(key.section, key.key, value);
}

bool HasKey(const ProfileFile& file, SettingsKey key) {
    // No text is its own default twice over: a key that is there reads as what it holds.
    return file.ReadString(key.section, key.key, QStringLiteral("\x01")) != QStringLiteral("\x01") ||
           file.ReadString(key.section, key.key, QStringLiteral("\x02")) != QStringLiteral("\x02");
}

}  // namespace

QString TakeAppDir() {
    return QDir::toNativeSeparators(QDir::currentPath());
}

QString SettingsFilePath(const QString& appDir) {
#ifdef Q_OS_WIN
    return appDir + QStringLiteral("\\options.ini");
#else
    return appDir + QStringLiteral("/options.ini");
#endif
}

void LoadSettings(const QString& settingsPath, MainWindowSide& window, AppSettings& settings) {
    const ProfileFile file(settingsPath);
    window.SetTop(Read(file, kTopKey, window.Top()));
    window.SetLeft(Read(file, kLeftKey, window.Left()));
    window.SetWidth(std::max(kMainWindowMinWidth, Read(file, kWidthKey, window.Width())));
    window.SetHeight(std::max(kMainWindowMinHeight, Read(file, kHeightKey, window.Height())));
    window.SetPathText(file.ReadString(kPathKey.section, kPathKey.key, window.PathText()));
    settings.calcType = Read(file, kCalcTypeKey, settings.calcType);
    settings.showDots = Read(file, kShowDotsKey, 0);
    settings.hideMobs = Read(file, kHideMobsKey, 0);
    settings.showAdvanced = Read(file, kShowAdvancedKey, 0);
}

void SaveSettings(const QString& settingsPath, const MainWindowSide& window, const AppSettings& settings) {
    ProfileFile file(settingsPath);
    Write(file, kTopKey, window.Top());
    Write(file, kLeftKey, window.Left());
    Write(file, kWidthKey, window.Width());
    Write(file, kHeightKey, window.Height());
    file.WriteString(kPathKey.section, kPathKey.key, window.PathText());
    Write(file, kCalcTypeKey, settings.calcType);
    Write(file, kShowDotsKey, settings.showDots);
    Write(file, kHideMobsKey, settings.hideMobs);
    Write(file, kShowAdvancedKey, settings.showAdvanced);
}

void LoadFightSettings(const QString& settingsPath, FightSettings& fights) {
    const ProfileFile file(settingsPath);
    const FightSettings defaults;
    const std::int32_t gap = Read(file, kFightGapKey, defaults.fightGap);
    // A negative gap would split every timed damage line off into a fight of its own.
    fights.fightGap = gap >= 0 && gap <= kMaxFightGap ? gap : defaults.fightGap;
    fights.follow = Read(file, kFollowKey, 0) == 1;
    fights.followInterval = std::clamp(Read(file, kFollowIntervalKey, defaults.followInterval),
                                       kMinFollowInterval, kMaxFollowInterval);
}

void SaveFightSettings(const QString& settingsPath, const FightSettings& fights) {
    ProfileFile file(settingsPath);
    Write(file, kFightGapKey, fights.fightGap);
    if (fights.follow || HasKey(file, kFollowKey))
        Write(file, kFollowKey, fights.follow ? 1 : 0);
}

}  // namespace tally::ui
