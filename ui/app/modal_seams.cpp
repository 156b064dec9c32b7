#include "app/modal_seams.h"

#include <QFileDialog>
#include <QGuiApplication>
#include <QScreen>

#include "app/outer_placement.h"

namespace tally::ui {
namespace {

void RealMessageBox(const MessageBoxRequest& request) {
    QMessageBox box(request.icon, request.caption, request.text, QMessageBox::Ok, request.parent);
    if (request.centredOnScreen) {
        box.adjustSize();
        if (const QScreen* screen = QGuiApplication::primaryScreen()) {
            // Centred by its outer size, which the box settles only as it is shown.
            const QPoint centre = screen->availableGeometry().center();
            (new OuterPlacement(&box))->Place([&box, centre](const QMargins& frame) {
                const QSize outer = box.size().grownBy(frame);
                return QRect(centre - QPoint(outer.width() / 2, outer.height() / 2), outer);
            });
        }
    }
    box.exec();
}

QString RealFileChooser(QWidget* parent, const QString& startFile) {
    QFileDialog dialog(parent);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setNameFilter(QStringLiteral("Aion Log-файл (*.log)"));
    dialog.setDefaultSuffix(QStringLiteral("log"));
    dialog.selectFile(startFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().front();
}

MessageBoxSeam& MessageBoxSlot() {
    static MessageBoxSeam seam;
    return seam;
}

FileChooserSeam& FileChooserSlot() {
    static FileChooserSeam seam;
    return seam;
}

}  // namespace

void ShowMessageBox(const MessageBoxRequest& request) {
    if (MessageBoxSlot())
        MessageBoxSlot()(request);
    else
        RealMessageBox(request);
}

void SetMessageBoxSeam(MessageBoxSeam seam) {
    MessageBoxSlot() = std::move(seam);
}

QString ChooseLogFile(QWidget* parent, const QString& startFile) {
    return FileChooserSlot() ? FileChooserSlot()(parent, startFile) : RealFileChooser(parent, startFile);
}

void SetFileChooserSeam(FileChooserSeam seam) {
    FileChooserSlot() = std::move(seam);
}

}  // namespace tally::ui
