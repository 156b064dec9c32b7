#pragma once
// The main of a front-end test: one QApplication per process, on the offscreen platform unless the
// environment names another.

#include <QApplication>
#include <QtTest>

#define TALLY_GUI_TEST_MAIN(TestClass)                      \
    int main(int argc, char** argv) {                       \
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) \
            qputenv("QT_QPA_PLATFORM", "offscreen");        \
        QApplication app(argc, argv);                       \
        TestClass test;                                     \
        return QTest::qExec(&test, argc, argv);             \
    }
