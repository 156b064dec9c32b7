// Loading and saving the settings file options.ini, and the error box text.

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

#include "app/error_text.h"
#include "settings/profile_file.h"
#include "settings/settings_store.h"
#include "settings_test_support.h"

using tally::AppSettings;
using tally::ui::ProfileWriteError;
using tally::ui::test::ReadBytes;
using tally::ui::test::WriteBytes;

namespace {

// The main window's side of the settings: placement in screen pixels and the path box.
struct FakeWindow final : tally::ui::MainWindowSide {
    int top = 228, left = 960, width = 450, height = 629;
    QString path;

    int Top() const override { return top; }
    int Left() const override { return left; }
    int Width() const override { return width; }
    int Height() const override { return height; }
    void SetTop(int value) override { top = value; }
    void SetLeft(int value) override { left = value; }
    void SetWidth(int value) override { width = value; }
    void SetHeight(int value) override { height = value; }
    QString PathText() const override { return path; }
    void SetPathText(const QString& text) override { path = text; }
};

// The file as a save writes it with the path set and every switch at its default.
const QByteArray kDefaultFile =
    "[DESKTOP]\n"
    "Top=228\n"
    "Left=960\n"
    "Width=450\n"
    "Height=629\n"
    "[OPTIONS]\n"
    "Path=D:\\Games\\Aion\\Chat.log\n"
    "CalcType=0\n"
    "[VIEW]\n"
    "ShowDots=0\n"
    "HideMobs=0\n"
    "ShowAdvanced=0\n";

}  // namespace

class SettingsStoreTest : public QObject {
    Q_OBJECT

  private:
    QTemporaryDir dir_;
    QString path_;

  private slots:
    void init() {
        QVERIFY(dir_.isValid());
        path_ = tally::ui::SettingsFilePath(dir_.path());
        QFile::remove(path_);
    }

    void pathIsBesideAppDir() {
#ifdef Q_OS_WIN
        // A backslash and the name appended to the directory text, whatever its end.
        QCOMPARE(tally::ui::SettingsFilePath(QStringLiteral("D:\\Aion Tallyscope")),
                 QStringLiteral("D:\\Aion Tallyscope\\options.ini"));
        QCOMPARE(tally::ui::SettingsFilePath(QStringLiteral("D:\\")), QStringLiteral("D:\\\\options.ini"));
        QCOMPARE(tally::ui::TakeAppDir(), QDir::toNativeSeparators(QDir::currentPath()));
#else
        QCOMPARE(tally::ui::SettingsFilePath(QStringLiteral("/home/me/aion")),
                 QStringLiteral("/home/me/aion/options.ini"));
        QCOMPARE(tally::ui::TakeAppDir(), QDir::currentPath());
#endif
    }

    void writesNineKeysInOrder() {
        FakeWindow window;
        window.path = QStringLiteral("D:\\Games\\Aion\\Chat.log");
        tally::ui::SaveSettings(path_, window, AppSettings{});
        QByteArray expected = kDefaultFile;
#ifdef Q_OS_WIN
        expected.replace("\n", "\r\n");  // a new file has Windows line breaks there
#endif
        QCOMPARE(ReadBytes(path_), expected);
    }

    void roundTrip() {
        FakeWindow saved;
        saved.top = -40;
        saved.left = 1920;
        saved.width = 800;
        saved.height = 1000;
        saved.path = QStringLiteral("/home/me/Игры/Aion/Chat.log");
        const AppSettings settings{1, 1, 1, 2};
        tally::ui::SaveSettings(path_, saved, settings);

        FakeWindow loaded;
        AppSettings read;
        tally::ui::LoadSettings(path_, loaded, read);
        QCOMPARE(loaded.top, -40);
        QCOMPARE(loaded.left, 1920);
        QCOMPARE(loaded.width, 800);
        QCOMPARE(loaded.height, 1000);
        QCOMPARE(loaded.path, saved.path);
        QCOMPARE(read.calcType, 1);
        QCOMPARE(read.showDots, 1);
        QCOMPARE(read.hideMobs, 1);
        QCOMPARE(read.showAdvanced, 2);
    }

    void missingFileKeepsWindowAndZeroesSwitches() {
        FakeWindow window;
        window.path = QStringLiteral("typed before");
        AppSettings settings{1, 1, 1, 1};
        tally::ui::LoadSettings(path_, window, settings);
        QCOMPARE(window.top, 228);
        QCOMPARE(window.left, 960);
        QCOMPARE(window.width, 450);
        QCOMPARE(window.height, 629);
        QCOMPARE(window.path, QStringLiteral("typed before"));
        QCOMPARE(settings.calcType, 1);  // the current value stays
        QCOMPARE(settings.showDots, 0);
        QCOMPARE(settings.hideMobs, 0);
        QCOMPARE(settings.showAdvanced, 0);
        QVERIFY(!QFile::exists(path_));
    }

    void placementValues_data() {
        QTest::addColumn<QByteArray>("desktop");
        QTest::addColumn<int>("top");
        QTest::addColumn<int>("left");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::newRow("hex top") << QByteArray("Top=0x20\n") << 32 << 960 << 450 << 629;
        QTest::newRow("letters keep the current top")
            << QByteArray("Top=abc\nLeft=5\n") << 228 << 5 << 450 << 629;
        QTest::newRow("empty keeps the current top") << QByteArray("Top=\n") << 228 << 960 << 450 << 629;
        QTest::newRow("small size raised to the minimum")
            << QByteArray("Width=100\nHeight=-3\n") << 228 << 960 << 450 << 500;
        QTest::newRow("off-screen place applied as it is")
            << QByteArray("Top=-5000\nLeft=99999\n") << -5000 << 99999 << 450 << 629;
        QTest::newRow("names ignore case")
            << QByteArray("tOp=1\nLEFT=2\nwidth=700\nHEIGHT=800\n") << 1 << 2 << 700 << 800;
    }

    void placementValues() {
        QFETCH(QByteArray, desktop);
        QFETCH(int, top);
        QFETCH(int, left);
        QFETCH(int, width);
        QFETCH(int, height);
        WriteBytes(path_, "[Desktop]\n" + desktop);
        FakeWindow window;
        AppSettings settings;
        tally::ui::LoadSettings(path_, window, settings);
        QCOMPARE(window.top, top);
        QCOMPARE(window.left, left);
        QCOMPARE(window.width, width);
        QCOMPARE(window.height, height);
    }

    // The user's own additions to the file outlive a save; only the nine values change.
    void saveKeepsForeignContent() {
        WriteBytes(path_,
                   "; my settings\r\n"
                   "[VIEW]\r\n"
                   "ShowDots = 1   \r\n"
                   "Theme=dark\r\n"
                   "\r\n"
                   "[Friends]\r\n"
                   "Name=Ария\r\n");
        FakeWindow window;
        window.path = QStringLiteral("C:\\chat.log");
        tally::ui::SaveSettings(path_, window, AppSettings{0, 0, 1, 0});
        QCOMPARE(ReadBytes(path_), QByteArray("; my settings\r\n"
                                              "[VIEW]\r\n"
                                              "ShowDots = 0   \r\n"
                                              "Theme=dark\r\n"
                                              "HideMobs=1\r\n"
                                              "ShowAdvanced=0\r\n"
                                              "\r\n"
                                              "[Friends]\r\n"
                                              "Name=Ария\r\n"
                                              "[DESKTOP]\r\n"
                                              "Top=228\r\n"
                                              "Left=960\r\n"
                                              "Width=450\r\n"
                                              "Height=629\r\n"
                                              "[OPTIONS]\r\n"
                                              "Path=C:\\chat.log\r\n"
                                              "CalcType=0\r\n"));
    }

    // The idle gap of fights, in its own section after the nine keys.
    void fightGapIsWrittenAfterTheNineKeys() {
        FakeWindow window;
        window.path = QStringLiteral("D:\\Games\\Aion\\Chat.log");
        tally::ui::SaveSettings(path_, window, AppSettings{});
        tally::ui::SaveFightSettings(path_, tally::ui::FightSettings{45});
        QByteArray expected = kDefaultFile + "[FIGHTS]\nFightGap=45\n";
#ifdef Q_OS_WIN
        expected.replace("\n", "\r\n");  // a new file has Windows line breaks there
#endif
        QCOMPARE(ReadBytes(path_), expected);
        // Written again, each key keeps its line.
        tally::ui::SaveSettings(path_, window, AppSettings{1, 0, 0, 0});
        tally::ui::SaveFightSettings(path_, tally::ui::FightSettings{7});
        const QList<QByteArray> lines = ReadBytes(path_).replace("\r\n", "\n").split('\n');
        QCOMPARE(lines[7], QByteArray("CalcType=1"));
        QCOMPARE(lines[13], QByteArray("FightGap=7"));
    }

    void fightGapValues_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<int>("gap");
        QTest::newRow("no file") << QByteArray() << 30;
        QTest::newRow("no key") << QByteArray("[FIGHTS]\nFollow=1\n") << 30;
        QTest::newRow("key in another section") << QByteArray("[VIEW]\nFightGap=45\n") << 30;
        QTest::newRow("stored") << QByteArray("[FIGHTS]\nFightGap=45\n") << 45;
        QTest::newRow("names ignore case") << QByteArray("[fights]\nfightgap=12\n") << 12;
        QTest::newRow("hexadecimal") << QByteArray("[FIGHTS]\nFightGap=$3C\n") << 60;
        QTest::newRow("no gap at all") << QByteArray("[FIGHTS]\nFightGap=0\n") << 0;
        QTest::newRow("a day") << QByteArray("[FIGHTS]\nFightGap=86400\n") << 86400;
        QTest::newRow("letters") << QByteArray("[FIGHTS]\nFightGap=abc\n") << 30;
        QTest::newRow("empty") << QByteArray("[FIGHTS]\nFightGap=\n") << 30;
        QTest::newRow("negative") << QByteArray("[FIGHTS]\nFightGap=-5\n") << 30;
        QTest::newRow("more than a day") << QByteArray("[FIGHTS]\nFightGap=86401\n") << 30;
    }

    void fightGapValues() {
        QFETCH(QByteArray, file);
        QFETCH(int, gap);
        if (!file.isEmpty())
            WriteBytes(path_, file);
        tally::ui::FightSettings fights{99};
        tally::ui::LoadFightSettings(path_, fights);
        QCOMPARE(fights.fightGap, gap);
    }

    // The follow switch is on only for 1; the interval is clamped to 0.1 s .. 60 s, and anything that
    // is not a number gives 1000 ms.
    void followValues_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<bool>("follow");
        QTest::addColumn<int>("interval");
        QTest::newRow("no file") << QByteArray() << false << 1000;
        QTest::newRow("on") << QByteArray("[FIGHTS]\nFollow=1\n") << true << 1000;
        QTest::newRow("off") << QByteArray("[FIGHTS]\nFollow=0\n") << false << 1000;
        QTest::newRow("not 1") << QByteArray("[FIGHTS]\nFollow=2\n") << false << 1000;
        QTest::newRow("letters") << QByteArray("[FIGHTS]\nFollow=on\n") << false << 1000;
        QTest::newRow("key in another section") << QByteArray("[VIEW]\nFollow=1\n") << false << 1000;
        QTest::newRow("interval") << QByteArray("[FIGHTS]\nFollowInterval=250\n") << false << 250;
        QTest::newRow("interval too short") << QByteArray("[FIGHTS]\nFollowInterval=0\n") << false << 100;
        QTest::newRow("interval negative") << QByteArray("[FIGHTS]\nFollowInterval=-5\n") << false << 100;
        QTest::newRow("interval too long")
            << QByteArray("[FIGHTS]\nFollowInterval=600000\n") << false << 60000;
        QTest::newRow("interval letters") << QByteArray("[FIGHTS]\nFollowInterval=fast\n") << false << 1000;
    }

    void followValues() {
        QFETCH(QByteArray, file);
        QFETCH(bool, follow);
        QFETCH(int, interval);
        if (!file.isEmpty())
            WriteBytes(path_, file);
        tally::ui::FightSettings fights{30, !follow, 7};
        tally::ui::LoadFightSettings(path_, fights);
        QCOMPARE(fights.follow, follow);
        QCOMPARE(fights.followInterval, interval);
    }

    // Follow is written once it has been on, and never the interval, which is the user's to edit.
    void followIsWrittenOnceItWasOn() {
        tally::ui::SaveFightSettings(path_, tally::ui::FightSettings{30, false, 500});
        QCOMPARE(ReadBytes(path_).replace("\r\n", "\n"), QByteArray("[FIGHTS]\nFightGap=30\n"));
        tally::ui::SaveFightSettings(path_, tally::ui::FightSettings{30, true, 500});
        tally::ui::SaveFightSettings(path_, tally::ui::FightSettings{30, false, 500});
        QCOMPARE(ReadBytes(path_).replace("\r\n", "\n"), QByteArray("[FIGHTS]\nFightGap=30\nFollow=0\n"));
    }

    void saveFailureNamesTheFile() {
        const QString plainFile = dir_.filePath(QStringLiteral("not-a-directory"));
        WriteBytes(plainFile, "x");
        const QString path = tally::ui::SettingsFilePath(plainFile);
        FakeWindow window;
        try {
            tally::ui::SaveSettings(path, window, AppSettings{});
            QFAIL("the save did not fail");
        } catch (const ProfileWriteError& error) {
            const QString message = QString::fromUtf8(error.what());
            QCOMPARE(message, QStringLiteral("Unable to write to ") + path + QStringLiteral("."));
            // The full stop is there already, so the error box adds none.
            QCOMPARE(tally::ui::ErrorBoxText(message), message);
        }
        QCOMPARE(ReadBytes(plainFile), QByteArray("x"));
    }

    void errorBoxText_data() {
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("shown");
        QTest::newRow("letter") << "File not found"
                                << "File not found.";
        QTest::newRow("digit") << "Error 32"
                               << "Error 32.";
        QTest::newRow("slash, just above the full stop") << "C:/"
                                                         << "C:/.";
        QTest::newRow("Cyrillic letter") << "Лог-файл не удалён"
                                         << "Лог-файл не удалён.";
        QTest::newRow("full stop") << "Done."
                                   << "Done.";
        QTest::newRow("hyphen, just below") << "a -"
                                            << "a -";
        QTest::newRow("closing bracket") << "(x)"
                                         << "(x)";
        QTest::newRow("exclamation") << "Файла не существует!"
                                     << "Файла не существует!";
        QTest::newRow("conversion error") << "'12x' is not a valid integer value"
                                          << "'12x' is not a valid integer value.";
        QTest::newRow("quote") << "named 'x'"
                               << "named 'x'";
        QTest::newRow("empty") << ""
                               << "";
    }

    void errorBoxText() {
        QFETCH(QString, message);
        QFETCH(QString, shown);
        QCOMPARE(tally::ui::ErrorBoxText(message), shown);
        QCOMPARE(QString::fromStdString(tally::ui::ErrorBoxText(message.toStdString())), shown);
    }
};

int main(int argc, char** argv) {
    return tally::ui::test::RunOffscreen<SettingsStoreTest>(argc, argv);
}

#include "settings_store_test.moc"
