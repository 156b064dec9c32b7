#pragma once
// Shared pieces of the settings and help window tests: the offscreen test main and small file helpers.

#include <QApplication>
#include <QByteArray>
#include <QFile>
#include <QString>
#include <QtTest>

namespace tally::ui::test {

inline void WriteBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly), qPrintable(path));
    QCOMPARE(file.write(bytes), bytes.size());
}

inline QByteArray ReadBytes(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

// Runs one test class on the offscreen platform unless the environment names another.
template <class TestClass>
int RunOffscreen(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    TestClass tests;
    return QTest::qExec(&tests, argc, argv);
}

}  // namespace tally::ui::test
