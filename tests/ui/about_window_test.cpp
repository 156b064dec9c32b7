// The help window: its layout, the home-page link and the help text.

#include <QLabel>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextCursor>
#include <QtTest>
#include <memory>

#include "app/layout_scale.h"
#include "settings_test_support.h"
#include "windows/home_page.h"
#include "windows/uAbout.h"

using tally::ui::Scaled;
using tally::ui::TfAbout;

class AboutWindowTest : public QObject {
    Q_OBJECT

  private:
    QList<QUrl> opened_;
    std::unique_ptr<TfAbout> window_;

    template <class Control = QWidget>
    Control* Find(const char* name) {
        return window_->findChild<Control*>(QString::fromLatin1(name));
    }

  private slots:
    void init() {
        opened_.clear();
        window_ = std::make_unique<TfAbout>([this](const QUrl& url) { opened_ << url; });
    }

    void cleanup() { window_.reset(); }

    void layout() {
        QCOMPARE(window_->windowTitle(), QStringLiteral("Справка"));
        QVERIFY(!window_->isVisible());
        const QSize client(Scaled(408), Scaled(349));
        QCOMPARE(window_->size(), client);
        QCOMPARE(window_->minimumSize(), client);
        QCOMPARE(window_->maximumSize(), client);

        auto* heading = Find<QLabel>("Label2");
        QVERIFY(heading);
        QCOMPARE(heading->text(), QStringLiteral("Информация:"));
        QVERIFY(heading->font().bold());
        QCOMPARE(heading->pos(), QPoint(Scaled(8), Scaled(8)));

        auto* link = Find<QLabel>("Link");
        QVERIFY(link);
        QCOMPARE(link->text(), QString::fromLatin1(tally::ui::kHomePageAddress));
        QCOMPARE(link->pos(), QPoint(Scaled(216), Scaled(10)));
        QVERIFY(link->autoFillBackground());
        QCOMPARE(link->palette().color(QPalette::Window), window_->palette().color(QPalette::Highlight));
        QCOMPARE(link->palette().color(QPalette::WindowText), QColor(Qt::black));

        auto* help = Find<QPlainTextEdit>("Help");
        QVERIFY(help);
        QCOMPARE(help->size(), QSize(Scaled(408), Scaled(317)));
        QCOMPARE(help->geometry().bottom(), window_->rect().bottom());
        QCOMPARE(help->x(), 0);
        QVERIFY(help->isReadOnly());
        QCOMPARE(help->lineWrapMode(), QPlainTextEdit::WidgetWidth);
        QCOMPARE(help->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
        QCOMPARE(help->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
        QCOMPARE(help->palette().color(QPalette::Base), window_->palette().color(QPalette::Button));
    }

    // Each line as its leading blanks, visible text and trailing blanks.
    void helpText_data() {
        QTest::addColumn<int>("line");
        QTest::addColumn<int>("leading");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("trailing");
        const auto row = [](int line, int leading, const char* text, int trailing) {
            QTest::addRow("line %d", line) << line << leading << QString::fromUtf8(text) << trailing;
        };
        row(1, 0, "Для работы Tallyscope нужно чтобы на клиенте было", 0);
        row(2, 0, "включено логгирование чата и в игре был включена", 1);
        row(3, 0, "русская раскладка.", 0);
        row(4, 0, "", 0);
        row(5, 0, "Для этого (при закрытой игре) перепишите в папку с", 1);
        row(6, 0, "игрой файл system.ovr и в папке клиента удалите", 1);
        row(7, 0, "файл system.cfg", 0);
        row(8, 0, "--------------------------------------------------------------------------", 0);
        row(9, 15, "О системе расчёта урона замеряющим", 0);
        row(10, 0, "", 0);
        row(11, 0, "Метод 1 - доты приписываются  последнему  кто  использовал", 1);
        row(12, 15, "дот-скилл, этот метод более точный, но если в замере", 1);
        row(13, 14, "будет участвовать персонаж с дотами вашего класса", 0);
        row(14, 14, "то все ваши доты уйдут к другому персонажу", 0);
        row(15, 0, "Метод 2 - доты делятся между одинаковыми классами поровну,", 0);
        row(16, 15, "не точный метод, но если в замере еще 1 персонаж", 1);
        row(17, 15, "с дотами вашего класса то варианта другого нет", 0);
        row(18, 0, "Прим. -    для классов у которых нет дотов оптимально", 1);
        row(19, 15, "всегда выбирать \"Метод 1\"", 0);
    }

    void helpText() {
        QFETCH(int, line);
        QFETCH(int, leading);
        QFETCH(QString, text);
        QFETCH(int, trailing);
        const QStringList lines = Find<QPlainTextEdit>("Help")->toPlainText().split(u'\n');
        QCOMPARE(lines.size(), 19);
        QCOMPARE(lines[line - 1], QString(leading, u' ') + text + QString(trailing, u' '));
    }

    void helpTextHyphenLine() {
        const QString text = Find<QPlainTextEdit>("Help")->toPlainText();
        QVERIFY(!text.endsWith(u'\n'));
        QCOMPARE(text.split(u'\n').at(7), QString(74, u'-'));
    }

    // The box has no scroll bars: every one of the nineteen lines must show in it, with the fonts the
    // system has for the layout's "Tahoma".
    void helpTextShowsEveryLine() {
#ifdef Q_OS_WIN
        if (QGuiApplication::platformName() == QStringLiteral("offscreen"))
            QSKIP("Qt's offscreen platform has no real fonts on Windows");
#endif
        window_->show();
        QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
        auto* help = Find<QPlainTextEdit>("Help");
        QTextCursor end(help->document());
        end.movePosition(QTextCursor::End);
        QVERIFY2(help->cursorRect(end).bottom() < help->viewport()->height(),
                 qPrintable(QStringLiteral("the last line ends at %1 in a box of %2")
                                .arg(help->cursorRect(end).bottom())
                                .arg(help->viewport()->height())));
        QCOMPARE(help->verticalScrollBar()->maximum(), 0);
    }

    void linkOpensHomePage() {
        window_->show();
        QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
        QTest::mouseClick(Find("Link"), Qt::LeftButton);
        QCOMPARE(opened_, QList<QUrl>{QUrl(QStringLiteral("https://tallyscope.example.org/"))});
        QTest::mouseClick(Find("Label2"), Qt::LeftButton);
        QCOMPARE(opened_.size(), 1);
    }

    void helpButtonPlacesWindow() {
        window_->ShowBeside(QRect(200, 150, 450, 629));
        QVERIFY(window_->isVisible());
        QCOMPARE(window_->frameGeometry().topLeft(), QPoint(205, 180));
        QVERIFY(window_->close());
        QVERIFY(!window_->isVisible());
        window_->ShowBeside(QRect(-10, 0, 450, 629));
        QVERIFY(window_->isVisible());
        QCOMPARE(window_->frameGeometry().topLeft(), QPoint(-5, 30));
    }
};

int main(int argc, char** argv) {
    return tally::ui::test::RunOffscreen<AboutWindowTest>(argc, argv);
}

#include "about_window_test.moc"
