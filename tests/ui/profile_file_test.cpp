// The profile-file reader and writer behind options.ini.

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <QTemporaryDir>
#include <QtTest>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

#include "settings/profile_file.h"
#include "settings_test_support.h"

using tally::ui::ProfileFile;
using tally::ui::ProfileWriteError;
using tally::ui::test::ReadBytes;
using tally::ui::test::WriteBytes;

namespace {

// Text as the file holds it: UTF-8, or on Windows the 8-bit system code page.
QByteArray Encoded(const QString& text) {
#ifdef Q_OS_WIN
    return text.toLocal8Bit();
#else
    return text.toUtf8();
#endif
}

// The line break of a file the writer creates.
#ifdef Q_OS_WIN
const QByteArray kNewFileBreak = "\r\n";
#else
const QByteArray kNewFileBreak = "\n";
#endif

}  // namespace

class ProfileFileTest : public QObject {
    Q_OBJECT

  private:
    QTemporaryDir dir_;
    QString path_;

  private slots:
    void init() {
        QVERIFY(dir_.isValid());
        path_ = dir_.filePath(QStringLiteral("options.ini"));
        QFile::remove(path_);
    }

    void readsIntegers_data() {
        QTest::addColumn<QByteArray>("value");
        QTest::addColumn<int>("expected");
        const int kDefault = 77;
        QTest::newRow("decimal") << QByteArray("228") << 228;
        QTest::newRow("plus sign") << QByteArray("+5") << 5;
        QTest::newRow("minus sign") << QByteArray("-7") << -7;
        QTest::newRow("leading zeros") << QByteArray("007") << 7;
        QTest::newRow("blanks around") << QByteArray(" \t 12 \t") << 12;
        QTest::newRow("0x hex") << QByteArray("0x20") << 32;
        QTest::newRow("0X hex") << QByteArray("0X1f") << 31;
        QTest::newRow("dollar hex") << QByteArray("$1F") << 31;
        QTest::newRow("hex is 32 bits") << QByteArray("$FFFFFFFF") << -1;
        QTest::newRow("largest") << QByteArray("2147483647") << 2147483647;
        QTest::newRow("smallest") << QByteArray("-2147483648") << int(-2147483647 - 1);
        QTest::newRow("0x alone") << QByteArray("0x") << kDefault;
        QTest::newRow("dollar alone") << QByteArray("$") << kDefault;
        QTest::newRow("sign alone") << QByteArray("-") << kDefault;
        QTest::newRow("letters") << QByteArray("abc") << kDefault;
        QTest::newRow("empty") << QByteArray("") << kDefault;
        QTest::newRow("trailing letters") << QByteArray("12px") << kDefault;
        QTest::newRow("inner blank") << QByteArray("1 2") << kDefault;
        QTest::newRow("bad hex digit") << QByteArray("0x1G") << kDefault;
        QTest::newRow("signed hex") << QByteArray("-0x10") << kDefault;
        QTest::newRow("too large") << QByteArray("2147483648") << kDefault;
        QTest::newRow("hex too large") << QByteArray("$100000000") << kDefault;
    }

    void readsIntegers() {
        QFETCH(QByteArray, value);
        QFETCH(int, expected);
        WriteBytes(path_, "[DESKTOP]\nTop=" + value + "\n");
        QCOMPARE(ProfileFile(path_).ReadInteger(u"DESKTOP", u"Top", 77), expected);
    }

    void readsTexts_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("expected");
        const QString kDefault = QStringLiteral("default");
        QTest::newRow("plain") << QByteArray("[OPTIONS]\nPath=D:\\Games\\Aion\\Chat.log\n")
                               << QStringLiteral("D:\\Games\\Aion\\Chat.log");
        QTest::newRow("blanks dropped") << QByteArray("[OPTIONS]\n  Path  =  /logs/my chat.log \t\r\n")
                                        << QStringLiteral("/logs/my chat.log");
        QTest::newRow("Russian text") << "[OPTIONS]\nPath=" + Encoded(QStringLiteral("/игра/Чат.log")) + "\n"
                                      << QStringLiteral("/игра/Чат.log");
        QTest::newRow("UTF-8 after a byte order mark")
            << QByteArray("\xEF\xBB\xBF[OPTIONS]\nPath=/игра/Чат.log\n") << QStringLiteral("/игра/Чат.log");
        QTest::newRow("empty value is not missing") << QByteArray("[OPTIONS]\nPath=\n") << QString();
        QTest::newRow("names ignore case") << QByteArray("[options]\npATH=x\n") << QStringLiteral("x");
        QTest::newRow("blanks around names")
            << QByteArray("  [ OPTIONS ]\n\tPath\t=x\n") << QStringLiteral("x");
        QTest::newRow("byte order mark")
            << QByteArray("\xEF\xBB\xBF[OPTIONS]\nPath=x\n") << QStringLiteral("x");
        QTest::newRow("a value that begins with U+FEFF keeps it")
            << QByteArray("\xEF\xBB\xBF[OPTIONS]\nPath=\xEF\xBB\xBFx\n") << QStringLiteral("\uFEFFx");
#ifndef Q_OS_WIN
        // On Windows a file without the byte order mark is text in the system code page.
        QTest::newRow("a value that begins with U+FEFF keeps it in a file without the mark")
            << QByteArray("[OPTIONS]\nPath=\xEF\xBB\xBFx\n") << QStringLiteral("\uFEFFx");
#endif
        QTest::newRow("last line without break") << QByteArray("[OPTIONS]\nPath=x") << QStringLiteral("x");
        QTest::newRow("lone CR line ends") << QByteArray("[OPTIONS]\rPath=x\r") << QStringLiteral("x");
        QTest::newRow("first key of a name wins")
            << QByteArray("[OPTIONS]\nPath=a\nPath=b\n") << QStringLiteral("a");
        QTest::newRow("key of another section") << QByteArray("[VIEW]\nPath=x\n[OPTIONS]\n") << kDefault;
        QTest::newRow("key before any section") << QByteArray("Path=x\n[OPTIONS]\n") << kDefault;
        QTest::newRow("commented out") << QByteArray("[OPTIONS]\n;Path=x\n") << kDefault;
        QTest::newRow("missing section") << QByteArray("[VIEW]\nShowDots=1\n") << kDefault;
        QTest::newRow("empty file") << QByteArray() << kDefault;
    }

    void readsTexts() {
        QFETCH(QByteArray, file);
        QFETCH(QString, expected);
        WriteBytes(path_, file);
        QCOMPARE(ProfileFile(path_).ReadString(u"OPTIONS", u"Path", QStringLiteral("default")), expected);
    }

    void readsDefaultsWithoutFile() {
        const ProfileFile file(path_);
        QCOMPARE(file.ReadString(u"OPTIONS", u"Path", QStringLiteral("default")), QStringLiteral("default"));
        QCOMPARE(file.ReadInteger(u"DESKTOP", u"Top", 228), 228);
    }

    void cutsLongTexts() {
        const QString longPath = QStringLiteral("/") + QString(2999, QLatin1Char('p'));
        WriteBytes(path_, "[OPTIONS]\nPath=" + longPath.toUtf8() + "\n");
        const QString read = ProfileFile(path_).ReadString(u"OPTIONS", u"Path", QString());
        QCOMPARE(read.size(), tally::ui::kProfileTextLimit);
        QCOMPARE(read, longPath.left(2047));
    }

    // Writing touches the value of the one key and nothing else of the file.
    void writesInPlace_data() {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QByteArray>("after");

        const QByteArray kUserFile =
            "; written by hand\r\n"
            "[Colours]\r\n"
            "Back = 0x00FF00 ; green\r\n"
            "\r\n"
            "[desktop]\r\n"
            "  top =  5  \r\n"
            "Left=7\r\n"
            "\r\n"
            "[View]\r\n"
            "ShowDots=0";
        QTest::newRow("existing key keeps its spelling and spacing")
            << kUserFile << "DESKTOP"
            << "Top"
            << "228" << QByteArray(kUserFile).replace("  top =  5  \r\n", "  top =  228  \r\n");
        QTest::newRow("missing key goes after the last line of its section")
            << kUserFile << "DESKTOP"
            << "Width"
            << "450" << QByteArray(kUserFile).replace("Left=7\r\n", "Left=7\r\nWidth=450\r\n");
        QTest::newRow("missing key in the last section without a final break")
            << kUserFile << "VIEW"
            << "HideMobs"
            << "1" << kUserFile + "\r\nHideMobs=1\r\n";
        QTest::newRow("missing section goes to the end")
            << kUserFile << "OPTIONS"
            << "Path"
            << "C:\\chat.log" << kUserFile + "\r\n[OPTIONS]\r\nPath=C:\\chat.log\r\n";
        QTest::newRow("empty value filled") << QByteArray("[A]\nK=\nL=1\n") << "A"
                                            << "K"
                                            << "v" << QByteArray("[A]\nK=v\nL=1\n");
        QTest::newRow("value emptied") << QByteArray("[A]\nK= old \n") << "A"
                                       << "K"
                                       << "" << QByteArray("[A]\nK=  \n");
        QTest::newRow("empty section gets its key") << QByteArray("[A]\n[B]\nK=1\n") << "A"
                                                    << "K"
                                                    << "2" << QByteArray("[A]\nK=2\n[B]\nK=1\n");
        QTest::newRow("only the first key of a name") << QByteArray("[A]\nK=1\nK=2\n") << "A"
                                                      << "K"
                                                      << "3" << QByteArray("[A]\nK=3\nK=2\n");
        QTest::newRow("line break in a value is cut off") << QByteArray("[A]\nK=1\n") << "A"
                                                          << "K"
                                                          << "x\n[B]\r\nEvil=1" << QByteArray("[A]\nK=x\n");
        QTest::newRow("blanks at the value's ends are not written, so a second save changes nothing")
            << QByteArray("[A]\nK = old \n") << "A"
            << "K"
            << " \tC:\\chat.log  " << QByteArray("[A]\nK = C:\\chat.log \n");
        QTest::newRow("a new key ends as the line before it and takes no line break of the next")
            << QByteArray("[X]\r[A]\nK=1\n\n[B]\n") << "A"
            << "L"
            << "2" << QByteArray("[X]\r[A]\nK=1\nL=2\n\n[B]\n");
        QTest::newRow("byte order mark kept")
            << QByteArray("\xEF\xBB\xBF") << "A"
            << "K"
            << "1" << QByteArray("\xEF\xBB\xBF[A]\nK=1\n").replace("\n", kNewFileBreak);
        QTest::newRow("Russian value") << QByteArray("[A]\nK=1\n") << "A"
                                       << "K"
                                       << "/игра/чат.log"
                                       << "[A]\nK=" + Encoded(QStringLiteral("/игра/чат.log")) + "\n";
        QTest::newRow("UTF-8 value after a byte order mark")
            << QByteArray("\xEF\xBB\xBF[A]\nK=1\n") << "A"
            << "K"
            << "/игра/чат.log" << QByteArray("\xEF\xBB\xBF[A]\nK=/игра/чат.log\n");
    }

    void writesInPlace() {
        QFETCH(QByteArray, before);
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QString, value);
        QFETCH(QByteArray, after);
        WriteBytes(path_, before);
        ProfileFile(path_).WriteString(section, key, value);
        QCOMPARE(ReadBytes(path_), after);
    }

    void createsMissingFile() {
        ProfileFile file(path_);
        file.WriteInteger(u"DESKTOP", u"Top", -20);
        file.WriteString(u"OPTIONS", u"Path", QStringLiteral("C:\\chat.log"));
        file.WriteInteger(u"DESKTOP", u"Left", 960);
        QCOMPARE(ReadBytes(path_), QByteArray("[DESKTOP]\nTop=-20\nLeft=960\n[OPTIONS]\nPath=C:\\chat.log\n")
                                       .replace("\n", kNewFileBreak));
        QCOMPARE(file.ReadInteger(u"desktop", u"TOP", 0), -20);
    }

    // Tests may run as root, which writes through any permission bits; a path whose directory is a
    // regular file fails for everyone.
    void reportsWriteFailure() {
        const QString plainFile = dir_.filePath(QStringLiteral("not-a-directory"));
        WriteBytes(plainFile, "x");
        const QString path = plainFile + QStringLiteral("/options.ini");
        try {
            ProfileFile(path).WriteInteger(u"DESKTOP", u"Top", 1);
            QFAIL("the write did not fail");
        } catch (const ProfileWriteError& error) {
            QCOMPARE(QString::fromUtf8(error.what()),
                     QStringLiteral("Unable to write to ") + path + QStringLiteral("."));
        }
    }

    // A settings file that cannot be read must not be replaced by a file holding the one key written.
    void keepsUnreadableFile() {
        QVERIFY(QDir(dir_.path()).mkdir(QStringLiteral("options.ini")));
        QVERIFY_THROWS_EXCEPTION(ProfileWriteError, ProfileFile(path_).WriteInteger(u"DESKTOP", u"Top", 1));
        QVERIFY(QFileInfo(path_).isDir());
        QVERIFY(QDir(path_).isEmpty());
        QVERIFY(QDir(dir_.path()).rmdir(QStringLiteral("options.ini")));
    }

#ifdef Q_OS_WIN
    // The file is what Windows' own profile routines read and write: each reads what the other wrote,
    // Russian text included, and a new file is 8-bit text in the system code page.
    void agreesWithTheSystemsProfileRoutines() {
        const QString path = QStringLiteral("C:\\Игры\\Aion\\Chat.log");
        ProfileFile file(path_);
        file.WriteInteger(u"DESKTOP", u"Top", 228);
        file.WriteString(u"OPTIONS", u"Path", path);
        wchar_t read[2048] = {};
        const std::wstring native = QDir::toNativeSeparators(path_).toStdWString();
        ::GetPrivateProfileStringW(L"options", L"PATH", L"", read, 2048, native.c_str());
        QCOMPARE(QString::fromWCharArray(read), path);
        QCOMPARE(::GetPrivateProfileIntW(L"DESKTOP", L"Top", 0, native.c_str()), 228u);
        if (::GetACP() == 1251)
            QVERIFY(ReadBytes(path_).contains("Path=C:\\\xC8\xE3\xF0\xFB\\Aion\\Chat.log\r\n"));

        QVERIFY(::WritePrivateProfileStringW(L"Заметки", L"Бой", L"Дракон", native.c_str()));
        QVERIFY(::WritePrivateProfileStringW(L"OPTIONS", L"Path", L"D:\\Айон\\Chat.log", native.c_str()));
        QCOMPARE(file.ReadString(u"OPTIONS", u"Path", QString()), QStringLiteral("D:\\Айон\\Chat.log"));
        QCOMPARE(file.ReadString(u"Заметки", u"Бой", QString()), QStringLiteral("Дракон"));
        file.WriteInteger(u"DESKTOP", u"Top", 100);
        ::GetPrivateProfileStringW(L"Заметки", L"Бой", L"", read, 2048, native.c_str());
        QCOMPARE(QString::fromWCharArray(read), QStringLiteral("Дракон"));
    }
#endif
#ifndef Q_OS_WIN
    // A named pipe (made with mkfifo) at the path would hold a read until some program wrote into it: the
    // settings file is then neither read nor replaced, and the program starts and closes without waiting.
    void leavesANamedPipeAlone() {
        ::alarm(30);  // a wait fails the test instead of hanging it
        QCOMPARE(::mkfifo(QFile::encodeName(path_).constData(), 0600), 0);
        QCOMPARE(ProfileFile(path_).ReadInteger(u"DESKTOP", u"Top", 228), 228);
        QVERIFY_THROWS_EXCEPTION(ProfileWriteError, ProfileFile(path_).WriteInteger(u"DESKTOP", u"Top", 1));
        QVERIFY(QFileInfo(path_).exists() && !QFileInfo(path_).isFile());
        ::alarm(0);
    }
#endif
};

int main(int argc, char** argv) {
    return tally::ui::test::RunOffscreen<ProfileFileTest>(argc, argv);
}

#include "profile_file_test.moc"
