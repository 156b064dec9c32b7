#include "settings_store.h"

#include <QDir>
#include <algorithm>

#include "profile_file.h"

namespace tally::ui {

namespace {

std::int32_t Read(const ProfileFile& file, SettingsKey key, std::int32_t defaultValue) {
    return file.ReadInteger(key.section, key.key, defaultValue);
}

void Write(ProfileFile& file, SettingsKey key, std::int32_t value) {
    file.WriteInteger(key.section, key.key, value);
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
}

void SaveFightSettings(const QString& settingsPath, const FightSettings& fights) {
    ProfileFile file(settingsPath);
    Write(file, kFightGapKey, fights.fightGap);
}

}  // namespace tally::ui
