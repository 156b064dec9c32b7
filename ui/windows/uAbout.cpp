#include "windows/uAbout.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QTextDocument>

#include "app/layout_font.h"
#include "app/layout_scale.h"
#include "app/outer_placement.h"
#include "windows/clickable_label.h"
#include "windows/help_text.h"

namespace tally::ui {

namespace {
constexpr int kClientWidth = 408;
constexpr int kClientHeight = 349;
constexpr int kHelpHeight = 317;
}  // namespace

TfAbout::TfAbout(UrlOpener openUrl, QWidget* parent)
    : QWidget(parent, Qt::Window), openUrl_(std::move(openUrl)) {
    setObjectName(QStringLiteral("fAbout"));
    setWindowTitle(QStringLiteral("Справка"));
    setFont(LayoutFont(QStringLiteral("Tahoma"), 13));
    setFixedSize(Scaled(kClientWidth), Scaled(kClientHeight));
    // Closing only hides the window; it must never end the program.
    setAttribute(Qt::WA_QuitOnClose, false);
    placement_ = new OuterPlacement(this);

    Label2_ = new QLabel(QStringLiteral("Информация:"), this);
    Label2_->setObjectName(QStringLiteral("Label2"));
    Label2_->setFont(LayoutFont(QStringLiteral("Tahoma"), 15, true));
    Label2_->move(Scaled(8), Scaled(8));
    Label2_->adjustSize();

    Link_ = new ClickableLabel(QString::fromLatin1(kHomePageAddress), this);
    Link_->setObjectName(QStringLiteral("Link"));
    Link_->setAutoFillBackground(true);
    QPalette linkColours = Link_->palette();
    linkColours.setColor(QPalette::Window, linkColours.color(QPalette::Highlight));
    linkColours.setColor(QPalette::WindowText, Qt::black);
    Link_->setPalette(linkColours);
    Link_->setCursor(Qt::PointingHandCursor);
    Link_->move(Scaled(216), Scaled(10));
    Link_->adjustSize();
    connect(Link_, &ClickableLabel::clicked, this, &TfAbout::LinkClick);

    Help_ = new QPlainTextEdit(this);
    Help_->setObjectName(QStringLiteral("Help"));
    // Along the bottom edge: the top follows from the scaled window and box heights, so no rounding gap
    // opens below the box.
    Help_->setGeometry(0, Scaled(kClientHeight) - Scaled(kHelpHeight), Scaled(kClientWidth),
                       Scaled(kHelpHeight));
    Help_->setReadOnly(true);
    Help_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    Help_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Help_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    QPalette helpColours = Help_->palette();
    helpColours.setColor(QPalette::Base, helpColours.color(QPalette::Button));
    Help_->setPalette(helpColours);
    // A narrow inner margin, as a plain multi-line edit box has, leaves room for all nineteen lines.
    Help_->document()->setDocumentMargin(2);
    Help_->setPlainText(HelpText());
}

void TfAbout::ShowBeside(const QRect& mainWindowFrame) {
    const QPoint topLeft = mainWindowFrame.topLeft() + QPoint(5, 30);
    const QSize client = size();
    placement_->Place(
        [topLeft, client](const QMargins& frame) { return QRect(topLeft, client.grownBy(frame)); });
    show();
}

void TfAbout::LinkClick() {
    if (openUrl_)
        openUrl_(QUrl(QString::fromLatin1(kHomePageAddress)));
}

}  // namespace tally::ui
