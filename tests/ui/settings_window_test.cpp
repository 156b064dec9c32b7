// The settings window: its layout, how the stored switches reach its controls, its click handlers, its
// placement, and the switches' way from the settings file through the window and back.

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

#include "app/layout_scale.h"
#include "find_control.h"
#include "settings/profile_file.h"
#include "settings/settings_store.h"
#include "settings_test_support.h"
#include "windows/uSettings.h"

using tally::AppSettings;
using tally::ui::Scaled;
using tally::ui::TfSettings;

namespace {

// Stands in for the main window: a plain top-level widget with a path box, placed by its outer frame.
class TestHost final : public QWidget, public tally::ui::MainWindowSide {
  public:
    TestHost() : pathBox(new QLineEdit(this)) {
        pathBox->setObjectName(QStringLiteral("eFN"));
        setGeometry(960, 228, 450, 629);
    }

    int Top() const override { return frameGeometry().top(); }
    int Left() const override { return frameGeometry().left(); }
    int Width() const override { return frameGeometry().width(); }
    int Height() const override { return frameGeometry().height(); }
    // move() places a top-level window by its frame; resize() sets the client area.
    void SetTop(int value) override { move(frameGeometry().left(), value); }
    void SetLeft(int value) override { move(value, frameGeometry().top()); }
    void SetWidth(int value) override { resize(value - (frameGeometry().width() - width()), height()); }
    void SetHeight(int value) override { resize(width(), value - (frameGeometry().height() - height())); }
    QString PathText() const override { return pathBox->text(); }
    void SetPathText(const QString& text) override { pathBox->setText(text); }

    QLineEdit* pathBox;
};

using tally::ui::test::Find;

// Clicks a check box or radio button on its indicator, where a user aims.
void ClickIndicator(QAbstractButton* button) {
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(4, button->height() / 2));
}

struct Switches {
    int calcType, showDots, hideMobs, showAdvanced;
};

}  // namespace

using SwitchField = std::int32_t AppSettings::*;

Q_DECLARE_METATYPE(Switches)
Q_DECLARE_METATYPE(SwitchField)

class SettingsWindowTest : public QObject {
    Q_OBJECT

  private:
    AppSettings settings_;
    tally::ui::FightSettings fights_;
    QStringList events_;
    std::unique_ptr<TestHost> host_;
    std::unique_ptr<TfSettings> window_;
    QTemporaryDir dir_;

    // Creates the window over the switches as they stand, recording what its handlers ask of the rest of
    // the program.
    void CreateWindow() {
        tally::ui::SettingsWindowHooks hooks;
        hooks.setDotColumnsVisible = [this](bool on) {
            events_ << (on ? "columns shown" : "columns hidden");
        };
        hooks.setMobsHidden = [this](bool on) { events_ << (on ? "mobs hidden" : "mobs shown"); };
        hooks.showSkillList = [this] { events_ << "skill list"; };
        hooks.showDotList = [this] { events_ << "dot list"; };
        window_ = std::make_unique<TfSettings>(settings_, fights_, std::move(hooks), host_.get());
    }

    void ShowWindow() {
        window_->show();
        QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
    }

    QCheckBox* Box(const char* name) { return Find<QCheckBox>(window_.get(), name); }
    QRadioButton* Radio(const char* name) { return Find<QRadioButton>(window_.get(), name); }

  private slots:
    void init() {
        settings_ = AppSettings{};
        fights_ = tally::ui::FightSettings{};
        events_.clear();
        host_ = std::make_unique<TestHost>();
    }

    void cleanup() {
        window_.reset();
        host_.reset();
    }

    void layout_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("hint");
        QTest::addColumn<QRect>("place");
        QTest::newRow("cbShowDots") << "cbShowDots"
                                    << "Показывать урон от дотов в таблице"
                                    << "" << QRect(8, 8, 287, 17);
        QTest::newRow("cbHideMobs") << "cbHideMobs"
                                    << "Скрыть мобов в таблице"
                                    << "" << QRect(8, 32, 287, 17);
        QTest::newRow("cbAdvanced") << "cbAdvanced"
                                    << "Показывать статистику (только Метод 1)"
                                    << "" << QRect(8, 56, 287, 17);
        QTest::newRow("RadioGroup1") << "RadioGroup1"
                                     << "Выбор метода рассчёта ДПС-а"
                                     << "" << QRect(8, 88, 287, 105);
        QTest::newRow("rbDotsToLast")
            << "rbDotsToLast"
            << "Метод 1 (доты начислять последнему кто юзнул скилл)"
            << "Более правильный метод если вы играете за класс что не имеет дотов, больше подходит для "
               "Гладиатора,Танка, Пилота, Чародея, Лука, Сина"
            << QRect(24, 113, 257, 32);
        QTest::newRow("rbDotsDividing")
            << "rbDotsDividing"
            << "Метод 2 (доты делить между одинаковыми классами)"
            << "Все доты будут разделены между одинаковыми классами" << QRect(24, 151, 257, 33);
        QTest::newRow("bSkillList") << "bSkillList"
                                    << "База скилов"
                                    << "" << QRect(8, 199, 129, 25);
        QTest::newRow("bSkillDotList") << "bSkillDotList"
                                       << "База дотов"
                                       << "" << QRect(166, 199, 129, 25);
        QTest::newRow("lFightGap") << "lFightGap"
                                   << "Пауза между боями, с"
                                   << "" << QRect(8, 234, 200, 17);
    }

    void layout() {
        QFETCH(QString, name);
        QFETCH(QString, caption);
        QFETCH(QString, hint);
        QFETCH(QRect, place);
        CreateWindow();
        QCOMPARE(window_->windowTitle(), QStringLiteral("Настройки"));
        QCOMPARE(window_->size(), QSize(Scaled(303), Scaled(259)));
        QVERIFY(!window_->isVisible());

        auto* control = Find(window_.get(), qPrintable(name));
        QVERIFY(control);
        QCOMPARE(control->parentWidget(), window_.get());
        const QString text = name == "RadioGroup1" ? control->property("title").toString()
                                                   : control->property("text").toString();
        QCOMPARE(text, caption);
        QCOMPARE(control->toolTip(), hint);
        QCOMPARE(control->geometry(), QRect(Scaled(place.left()), Scaled(place.top()), Scaled(place.width()),
                                            Scaled(place.height())));
    }

    // The method buttons lie over the frame but belong to the window, and selecting one deselects the
    // other.
    void methodButtonsExcludeEachOther() {
        CreateWindow();
        ShowWindow();
        QCOMPARE(window_->findChildren<QRadioButton*>().size(), 2);
        QVERIFY(Find<QGroupBox>(window_.get(), "RadioGroup1")->findChildren<QRadioButton*>().isEmpty());
        ClickIndicator(Radio("rbDotsDividing"));
        QVERIFY(Radio("rbDotsDividing")->isChecked());
        QVERIFY(!Radio("rbDotsToLast")->isChecked());
        ClickIndicator(Radio("rbDotsToLast"));
        QVERIFY(Radio("rbDotsToLast")->isChecked());
        QVERIFY(!Radio("rbDotsDividing")->isChecked());
    }

    void tabOrder() {
        CreateWindow();
        QStringList order;
        QWidget* widget = Find(window_.get(), "cbShowDots");
        do {
            // The spin box's own text box takes the focus for it.
            if ((widget->focusPolicy() & Qt::TabFocus) && widget->parentWidget() == window_.get())
                order << widget->objectName();
            widget = widget->nextInFocusChain();
        } while (widget->objectName() != QStringLiteral("cbShowDots"));
        QCOMPARE(order, QStringList({"cbShowDots", "cbHideMobs", "bSkillList", "bSkillDotList",
                                     "rbDotsToLast", "rbDotsDividing", "cbAdvanced", "seFightGap"}));
    }

    // The stored switches reach the controls; only a control whose state changes runs its handler.
    void storedSwitchesReachControls_data() {
        QTest::addColumn<Switches>("stored");
        QTest::addColumn<bool>("dotsChecked");
        QTest::addColumn<bool>("mobsChecked");
        QTest::addColumn<bool>("method2");
        QTest::addColumn<bool>("advancedChecked");
        QTest::addColumn<bool>("advancedEnabled");
        QTest::addColumn<Switches>("after");
        QTest::addColumn<QStringList>("events");
        QTest::newRow("layout state") << Switches{0, 0, 0, 0} << false << false << false << false << true
                                      << Switches{0, 0, 0, 0} << QStringList();
        QTest::newRow("ShowDots 5") << Switches{0, 5, 0, 0} << true << false << false << false << true
                                    << Switches{0, 1, 0, 0} << QStringList{"columns shown"};
        QTest::newRow("HideMobs -1") << Switches{0, 0, -1, 0} << false << true << false << false << true
                                     << Switches{0, 0, 1, 0} << QStringList{"mobs hidden"};
        QTest::newRow("CalcType 3") << Switches{3, 0, 0, 0} << false << false << true << false << false
                                    << Switches{1, 0, 0, 0} << QStringList();
        QTest::newRow("ShowAdvanced 1") << Switches{0, 0, 0, 1} << false << false << false << true << true
                                        << Switches{0, 0, 0, 1} << QStringList();
        QTest::newRow("ShowAdvanced 2 is off") << Switches{0, 0, 0, 2} << false << false << false << false
                                               << true << Switches{0, 0, 0, 2} << QStringList();
        QTest::newRow("CalcType 1 with ShowAdvanced 1")
            << Switches{1, 0, 0, 1} << false << false << true << true << false << Switches{1, 0, 0, 1}
            << QStringList();
        QTest::newRow("CalcType 1 with ShowAdvanced 2")
            << Switches{1, 0, 0, 2} << false << false << true << false << false << Switches{1, 0, 0, 2}
            << QStringList();
        QTest::newRow("everything on") << Switches{1, 1, 1, 1} << true << true << true << true << false
                                       << Switches{1, 1, 1, 1} << QStringList{"columns shown", "mobs hidden"};
    }

    void storedSwitchesReachControls() {
        QFETCH(Switches, stored);
        QFETCH(bool, dotsChecked);
        QFETCH(bool, mobsChecked);
        QFETCH(bool, method2);
        QFETCH(bool, advancedChecked);
        QFETCH(bool, advancedEnabled);
        QFETCH(Switches, after);
        QFETCH(QStringList, events);
        settings_ = AppSettings{stored.calcType, stored.showDots, stored.hideMobs, stored.showAdvanced};
        CreateWindow();
        QCOMPARE(Box("cbShowDots")->isChecked(), dotsChecked);
        QCOMPARE(Box("cbHideMobs")->isChecked(), mobsChecked);
        QCOMPARE(Radio("rbDotsDividing")->isChecked(), method2);
        QCOMPARE(Radio("rbDotsToLast")->isChecked(), !method2);
        QCOMPARE(Box("cbAdvanced")->isChecked(), advancedChecked);
        QCOMPARE(Box("cbAdvanced")->isEnabled(), advancedEnabled);
        QCOMPARE(settings_.calcType, after.calcType);
        QCOMPARE(settings_.showDots, after.showDots);
        QCOMPARE(settings_.hideMobs, after.hideMobs);
        QCOMPARE(settings_.showAdvanced, after.showAdvanced);
        QCOMPARE(events_, events);
    }

    void checkBoxesSwitch_data() {
        QTest::addColumn<QString>("box");
        QTest::addColumn<SwitchField>("field");
        QTest::addColumn<QStringList>("events");
        QTest::newRow("cbShowDots") << "cbShowDots" << &AppSettings::showDots
                                    << QStringList{"columns shown", "columns hidden"};
        QTest::newRow("cbHideMobs") << "cbHideMobs" << &AppSettings::hideMobs
                                    << QStringList{"mobs hidden", "mobs shown"};
        QTest::newRow("cbAdvanced") << "cbAdvanced" << &AppSettings::showAdvanced << QStringList();
    }

    void checkBoxesSwitch() {
        QFETCH(QString, box);
        QFETCH(SwitchField, field);
        QFETCH(QStringList, events);
        CreateWindow();
        ShowWindow();
        ClickIndicator(Box(qPrintable(box)));
        QVERIFY(Box(qPrintable(box))->isChecked());
        QCOMPARE(settings_.*field, 1);
        ClickIndicator(Box(qPrintable(box)));
        QVERIFY(!Box(qPrintable(box))->isChecked());
        QCOMPARE(settings_.*field, 0);
        QCOMPARE(events_, events);
    }

    void method2SwitchesStatisticsOff() {
        CreateWindow();
        ShowWindow();
        ClickIndicator(Box("cbAdvanced"));
        QCOMPARE(settings_.showAdvanced, 1);

        ClickIndicator(Radio("rbDotsDividing"));
        QCOMPARE(settings_.calcType, 1);
        QVERIFY(!Box("cbAdvanced")->isChecked());
        QVERIFY(!Box("cbAdvanced")->isEnabled());
        QCOMPARE(settings_.showAdvanced, 0);

        ClickIndicator(Box("cbAdvanced"));  // locked: nothing happens
        QVERIFY(!Box("cbAdvanced")->isChecked());
        QCOMPARE(settings_.showAdvanced, 0);

        ClickIndicator(Radio("rbDotsToLast"));
        QCOMPARE(settings_.calcType, 0);
        QVERIFY(Box("cbAdvanced")->isEnabled());
        QVERIFY(!Box("cbAdvanced")->isChecked());
        QCOMPARE(settings_.showAdvanced, 0);
    }

    // Method 1 leaves the box as it finds it: a box checked under Method 2 (a stored state the window
    // never makes) stays checked.
    void method1KeepsStatisticsBox() {
        settings_ = AppSettings{1, 0, 0, 1};
        CreateWindow();
        ShowWindow();
        ClickIndicator(Radio("rbDotsToLast"));
        QCOMPARE(settings_.calcType, 0);
        QVERIFY(Box("cbAdvanced")->isEnabled());
        QVERIFY(Box("cbAdvanced")->isChecked());
        QCOMPARE(settings_.showAdvanced, 1);
    }

    // Clicking the selected method runs nothing, so the checked statistics box of that stored state
    // survives a click on Method 2.
    void clickingSelectedMethodRunsNothing() {
        settings_ = AppSettings{1, 0, 0, 1};
        CreateWindow();
        ShowWindow();
        ClickIndicator(Radio("rbDotsDividing"));
        QVERIFY(Radio("rbDotsDividing")->isChecked());
        QVERIFY(Box("cbAdvanced")->isChecked());
        QCOMPARE(settings_.showAdvanced, 1);
        QCOMPARE(settings_.calcType, 1);
    }

    // The idle gap: the stored value in the box, and every change of the box in the setting at once.
    void fightGapBox_data() {
        QTest::addColumn<int>("stored");
        QTest::addColumn<int>("shown");
        QTest::newRow("default") << 30 << 30;
        QTest::newRow("no gap") << 0 << 0;
        QTest::newRow("a day") << tally::ui::kMaxFightGap << tally::ui::kMaxFightGap;
    }

    void fightGapBox() {
        QFETCH(int, stored);
        QFETCH(int, shown);
        fights_.fightGap = stored;
        CreateWindow();
        auto* box = Find<QSpinBox>(window_.get(), "seFightGap");
        QCOMPARE(box->geometry(), QRect(Scaled(215), Scaled(231), Scaled(80), Scaled(22)));
        QCOMPARE(box->value(), shown);
        QCOMPARE(fights_.fightGap, stored);
        QCOMPARE(Find<QLabel>(window_.get(), "lFightGap")->buddy(), box);

        ShowWindow();
        box->setFocus();
        box->selectAll();
        QTest::keyClicks(box, "45");
        QCOMPARE(fights_.fightGap, 45);
        QTest::keyClick(box, Qt::Key_Up);
        QCOMPARE(fights_.fightGap, 46);
        // Nothing beyond a day, and no negative gap, can be typed.
        box->selectAll();
        QTest::keyClicks(box, "-5");
        QVERIFY(fights_.fightGap >= 0);
        box->setValue(tally::ui::kMaxFightGap + 1);
        QCOMPARE(fights_.fightGap, tally::ui::kMaxFightGap);
        QCOMPARE(events_, QStringList());
    }

    void referenceListButtons() {
        CreateWindow();
        ShowWindow();
        QTest::mouseClick(Find(window_.get(), "bSkillDotList"), Qt::LeftButton);
        QTest::mouseClick(Find(window_.get(), "bSkillList"), Qt::LeftButton);
        QCOMPARE(events_, QStringList({"dot list", "skill list"}));
    }

    void centredOver_data() {
        QTest::addColumn<QRect>("main");
        QTest::addColumn<QSize>("own");
        QTest::addColumn<QPoint>("desktop");
        QTest::addColumn<QPoint>("expected");
        QTest::newRow("centred") << QRect(960, 228, 450, 629) << QSize(303, 229) << QPoint(0, 0)
                                 << QPoint(960 + 73, 228 + 200);
        QTest::newRow("wider than the main window")
            << QRect(100, 100, 300, 200) << QSize(401, 301) << QPoint(0, 0) << QPoint(100 - 50, 100 - 50);
        QTest::newRow("raised to the left edge")
            << QRect(-400, 50, 450, 629) << QSize(303, 229) << QPoint(0, 0) << QPoint(0, 250);
        QTest::newRow("raised to the top edge")
            << QRect(50, -500, 450, 629) << QSize(303, 229) << QPoint(0, 0) << QPoint(123, 0);
        QTest::newRow("desktop left of the origin")
            << QRect(-1900, 100, 450, 629) << QSize(303, 229) << QPoint(-1920, 0) << QPoint(-1827, 300);
        QTest::newRow("right and bottom edges not checked")
            << QRect(5000, 5000, 450, 629) << QSize(303, 229) << QPoint(0, 0) << QPoint(5073, 5200);
    }

    void centredOver() {
        QFETCH(QRect, main);
        QFETCH(QSize, own);
        QFETCH(QPoint, desktop);
        QFETCH(QPoint, expected);
        QCOMPARE(tally::ui::CentredOver(main, own, desktop), expected);
    }

    void settingsButtonTogglesWindow() {
        CreateWindow();
        host_->setGeometry(400, 300, 600, 700);
        window_->ToggleShown(host_->frameGeometry());
        QVERIFY(window_->isVisible());
        const QSize own = window_->frameGeometry().size();
        QCOMPARE(window_->frameGeometry().topLeft(),
                 QPoint(400 + (600 - own.width()) / 2, 300 + (700 - own.height()) / 2));

        window_->move(20, 40);  // the user drags it away
        window_->ToggleShown(host_->frameGeometry());
        QVERIFY(!window_->isVisible());
        host_->move(800, 600);
        window_->ToggleShown(host_->frameGeometry());
        QVERIFY(window_->isVisible());
        QCOMPARE(window_->frameGeometry().topLeft(), QPoint(20, 40));

        QVERIFY(window_->close());
        QVERIFY(!window_->isVisible());
        window_->ToggleShown(host_->frameGeometry());
        QVERIFY(window_->isVisible());
    }

    // The switches go from the file through the window and back into the file.
    void switchesThroughWindow_data() {
        QTest::addColumn<QByteArray>("stored");
        QTest::addColumn<Switches>("written");
        QTest::newRow("no file") << QByteArray() << Switches{0, 0, 0, 0};
        QTest::newRow("ShowDots 5 comes back as 1")
            << QByteArray("[VIEW]\nShowDots=5\n") << Switches{0, 1, 0, 0};
        QTest::newRow("HideMobs 2 comes back as 1")
            << QByteArray("[VIEW]\nHideMobs=2\n") << Switches{0, 0, 1, 0};
        QTest::newRow("CalcType 9 comes back as 1")
            << QByteArray("[OPTIONS]\nCalcType=9\n") << Switches{1, 0, 0, 0};
        QTest::newRow("ShowAdvanced 2 stays 2")
            << QByteArray("[VIEW]\nShowAdvanced=2\n") << Switches{0, 0, 0, 2};
        QTest::newRow("CalcType 1 keeps ShowAdvanced 1")
            << QByteArray("[OPTIONS]\nCalcType=1\n[VIEW]\nShowAdvanced=1\n") << Switches{1, 0, 0, 1};
    }

    void switchesThroughWindow() {
        QFETCH(QByteArray, stored);
        QFETCH(Switches, written);
        const QString path = tally::ui::SettingsFilePath(dir_.path());
        QFile::remove(path);
        if (!stored.isEmpty())
            tally::ui::test::WriteBytes(path, stored);

        tally::ui::LoadSettings(path, *host_, settings_);
        CreateWindow();
        tally::ui::SaveSettings(path, *host_, settings_);

        const tally::ui::ProfileFile file(path);
        QCOMPARE(file.ReadInteger(u"OPTIONS", u"CalcType", -1), written.calcType);
        QCOMPARE(file.ReadInteger(u"VIEW", u"ShowDots", -1), written.showDots);
        QCOMPARE(file.ReadInteger(u"VIEW", u"HideMobs", -1), written.hideMobs);
        QCOMPARE(file.ReadInteger(u"VIEW", u"ShowAdvanced", -1), written.showAdvanced);
        QCOMPARE(events_.contains("columns shown"), written.showDots == 1);
        QCOMPARE(events_.contains("mobs hidden"), written.hideMobs == 1);
    }

    void placementThroughHost() {
        const QString path = tally::ui::SettingsFilePath(dir_.path());
        tally::ui::test::WriteBytes(path,
                                    "[DESKTOP]\nTop=0x20\nLeft=40\nWidth=100\nHeight=900\n"
                                    "[OPTIONS]\nPath=/home/me/Chat.log\n");
        tally::ui::LoadSettings(path, *host_, settings_);
        QCOMPARE(host_->frameGeometry(), QRect(40, 32, 450, 900));
        QCOMPARE(host_->pathBox->text(), QStringLiteral("/home/me/Chat.log"));

        host_->move(70, 80);
        host_->pathBox->setText(QStringLiteral("/home/me/Other.log"));
        tally::ui::SaveSettings(path, *host_, settings_);
        const tally::ui::ProfileFile file(path);
        QCOMPARE(file.ReadInteger(u"DESKTOP", u"Top", -1), 80);
        QCOMPARE(file.ReadInteger(u"DESKTOP", u"Left", -1), 70);
        QCOMPARE(file.ReadInteger(u"DESKTOP", u"Width", -1), 450);
        QCOMPARE(file.ReadString(u"OPTIONS", u"Path", QString()), QStringLiteral("/home/me/Other.log"));
    }
};

int main(int argc, char** argv) {
    return tally::ui::test::RunOffscreen<SettingsWindowTest>(argc, argv);
}

#include "settings_window_test.moc"
