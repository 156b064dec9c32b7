#pragma once
// The files of the end-to-end tests: chat logs written as the game client writes them, and files
// written and read whole.

#include <QByteArray>
#include <QFile>
#include <QRegularExpression>
#include <QString>
#include <QStringList>
#include <QtTest>
#include <string>
#include <vector>

#include "tallyscope/codepage.h"

namespace tally::ui::test {

// The lines of a log, in UTF-8.
using Lines = std::vector<const char*>;

// The chat log as the game client writes it: Windows-1251, CR LF.
inline QByteArray LogBytes(const Lines& lines) {
    std::string text;
    for (const char* line : lines)
        text += Utf8ToCp1251(line) + "\r\n";
    return QByteArray::fromStdString(text);
}

inline void WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly), qPrintable(path));
    QCOMPARE(file.write(bytes), bytes.size());
}

// The lines of a text file, without their line ends and without empty lines; none for no file.
inline QStringList FileLines(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll())
        .split(QRegularExpression(QStringLiteral("\r?\n")), Qt::SkipEmptyParts);
}

}  // namespace tally::ui::test
