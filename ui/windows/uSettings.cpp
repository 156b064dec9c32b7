#include "windows/uSettings.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QSpinBox>
#include <algorithm>

#include "app/layout_font.h"
#include "app/layout_scale.h"
#include "app/outer_placement.h"
#include "windows/wrapping_radio_button.h"

namespace tally::ui {

namespace {

// Places a control by its layout position and size (120-DPI units).
template <class Control>
Control* Place(Control* control, const char* name, int left, int top, int width, int height) {
    control->setObjectName(QString::fromLatin1(name));
    control->setGeometry(Scaled(left), Scaled(top), Scaled(width), Scaled(height));
    return control;
}

int Switch(bool on) {
    return on ? 1 : 0;
}

QPoint DesktopTopLeft() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->virtualGeometry().topLeft() : QPoint();
}

}  // namespace

QPoint CentredOver(const QRect& mainWindowFrame, QSize ownSize, QPoint desktopTopLeft) {
    // div rounds toward zero, so a window wider than the main window moves left by the rounded half.
    const int left = mainWindowFrame.left() + (mainWindowFrame.width() - ownSize.width()) / 2;
    const int top = mainWindowFrame.top() + (mainWindowFrame.height() - ownSize.height()) / 2;
    return {std::max(left, desktopTopLeft.x()), std::max(top, desktopTopLeft.y())};
}

TfSettings::TfSettings(AppSettings& settings, FightSettings& fights, SettingsWindowHooks hooks,
                       QWidget* parent)
    : QWidget(parent, Qt::Window), settings_(settings), fights_(fights), hooks_(std::move(hooks)) {
    setObjectName(QStringLiteral("fSettings"));
    setWindowTitle(QStringLiteral("Настройки"));
    setFont(LayoutFont(QStringLiteral("MS Sans Serif"), 13));
    // The switches take 229 rows; the idle gap's row below the reference-list buttons adds 30.
    resize(Scaled(303), Scaled(259));
    // Closing only hides the window; it must never end the program.
    setAttribute(Qt::WA_QuitOnClose, false);

    cbShowDots_ = Place(new QCheckBox(QStringLiteral("Показывать урон от дотов в таблице"), this),
                        "cbShowDots", 8, 8, 287, 17);
    cbHideMobs_ =
        Place(new QCheckBox(QStringLiteral("Скрыть мобов в таблице"), this), "cbHideMobs", 8, 32, 287, 17);
    cbAdvanced_ = Place(new QCheckBox(QStringLiteral("Показывать статистику (только Метод 1)"), this),
                        "cbAdvanced", 8, 56, 287, 17);
    // The frame only draws the title around the method buttons; the buttons belong to the window, made
    // after the frame so that they lie over it.
    RadioGroup1_ = Place(new QGroupBox(QStringLiteral("Выбор метода рассчёта ДПС-а"), this), "RadioGroup1", 8,
                         88, 287, 105);
    rbDotsToLast_ = Place(
        new WrappingRadioButton(QStringLiteral("Метод 1 (доты начислять последнему кто юзнул скилл)"), this),
        "rbDotsToLast", 24, 113, 257, 32);
    rbDotsToLast_->setToolTip(QStringLiteral(
        "Более правильный метод если вы играете за класс что не имеет дотов, больше подходит для "
        "Гладиатора,Танка, Пилота, Чародея, Лука, Сина"));
    rbDotsDividing_ = Place(
        new WrappingRadioButton(QStringLiteral("Метод 2 (доты делить между одинаковыми классами)"), this),
        "rbDotsDividing", 24, 151, 257, 33);
    rbDotsDividing_->setToolTip(QStringLiteral("Все доты будут разделены между одинаковыми классами"));
    bSkillList_ = Place(new QPushButton(QStringLiteral("База скилов"), this), "bSkillList", 8, 199, 129, 25);
    bSkillDotList_ =
        Place(new QPushButton(QStringLiteral("База дотов"), this), "bSkillDotList", 166, 199, 129, 25);
    // The gap's label is centred on the height of its box, as the check boxes' texts are.
    lFightGap_ =
        Place(new QLabel(QStringLiteral("Пауза между боями, с"), this), "lFightGap", 8, 234, 200, 17);
    seFightGap_ = Place(new QSpinBox(this), "seFightGap", 215, 231, 80, 22);
    seFightGap_->setRange(0, kMaxFightGap);
    seFightGap_->setToolTip(
        QStringLiteral("Урон после паузы длиннее этой начинает новый бой; действует со следующего расчёта"));
    lFightGap_->setBuddy(seFightGap_);

    setTabOrder(cbShowDots_, cbHideMobs_);
    setTabOrder(cbHideMobs_, bSkillList_);
    setTabOrder(bSkillList_, bSkillDotList_);
    setTabOrder(bSkillDotList_, rbDotsToLast_);
    setTabOrder(rbDotsToLast_, rbDotsDividing_);
    setTabOrder(rbDotsDividing_, cbAdvanced_);
    setTabOrder(cbAdvanced_, seFightGap_);

    // The state of the layout, set before the handlers are connected.
    rbDotsToLast_->setChecked(true);

    // A state change runs the handler whether the user or the program made it; a radio button runs its
    // handler only when it becomes selected.
    connect(cbShowDots_, &QCheckBox::toggled, this, &TfSettings::cbShowDotsClick);
    connect(cbHideMobs_, &QCheckBox::toggled, this, &TfSettings::cbHideMobsClick);
    connect(cbAdvanced_, &QCheckBox::toggled, this, &TfSettings::cbAdvancedClick);
    connect(rbDotsToLast_, &QRadioButton::toggled, this, [this](bool selected) {
        if (selected)
            rbDotsToLastClick();
    });
    connect(rbDotsDividing_, &QRadioButton::toggled, this, [this](bool selected) {
        if (selected)
            rbDotsDividingClick();
    });
    connect(bSkillList_, &QPushButton::clicked, this, &TfSettings::bSkillListClick);
    connect(bSkillDotList_, &QPushButton::clicked, this, &TfSettings::bSkillDotListClick);
    connect(seFightGap_, &QSpinBox::valueChanged, this, &TfSettings::seFightGapChange);

    FormCreate();
}

void TfSettings::FormCreate() {
    cbShowDots_->setChecked(settings_.showDots != 0);
    cbHideMobs_->setChecked(settings_.hideMobs != 0);
    if (settings_.calcType != 0) {
        rbDotsDividing_->setChecked(true);
    } else {
        rbDotsToLast_->setChecked(true);
    }
    // Statistics count as on only for exactly 1; any other stored value stays as it is.
    cbAdvanced_->setChecked(settings_.showAdvanced == 1);
    seFightGap_->setValue(fights_.fightGap);
}

void TfSettings::ToggleShown(const QRect& mainWindowFrame) {
    if (isVisible()) {
        hide();
        return;
    }
    if (!placed_) {
        // Centred by the outer size, which counts the frame once the platform knows it.
        const QSize client = size();
        const QPoint desktopTopLeft = DesktopTopLeft();
        (new OuterPlacement(this))->Place([mainWindowFrame, client, desktopTopLeft](const QMargins& frame) {
            const QSize outer = client.grownBy(frame);
            return QRect(CentredOver(mainWindowFrame, outer, desktopTopLeft), outer);
        });
        placed_ = true;
    }
    show();
}

void TfSettings::cbShowDotsClick() {
    const bool on = cbShowDots_->isChecked();
    settings_.showDots = Switch(on);
    if (hooks_.setDotColumnsVisible)
        hooks_.setDotColumnsVisible(on);
}

void TfSettings::cbHideMobsClick() {
    const bool on = cbHideMobs_->isChecked();
    settings_.hideMobs = Switch(on);
    if (hooks_.setMobsHidden)
        hooks_.setMobsHidden(on);
}

void TfSettings::cbAdvancedClick() {
    settings_.showAdvanced = Switch(cbAdvanced_->isChecked());
}

void TfSettings::rbDotsToLastClick() {
    settings_.calcType = 0;
    cbAdvanced_->setEnabled(true);
}

void TfSettings::rbDotsDividingClick() {
    settings_.calcType = 1;
    // The statistics box is for Method 1 only: switch it off first (running its handler), then lock it.
    cbAdvanced_->setChecked(false);
    cbAdvanced_->setEnabled(false);
}

void TfSettings::bSkillListClick() {
    if (hooks_.showSkillList)
        hooks_.showSkillList();
}

void TfSettings::bSkillDotListClick() {
    if (hooks_.showDotList)
        hooks_.showDotList();
}

void TfSettings::seFightGapChange(int seconds) {
    fights_.fightGap = seconds;
}

}  // namespace tally::ui
