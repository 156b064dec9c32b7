#pragma once
// The modal dialogs of the windows go through these seams so that tests can answer them without a
// modal event loop: a test puts a recorder in place of the message box or the file chooser.

#include <QMessageBox>
#include <QString>
#include <functional>

class QWidget;

namespace tally::ui {

struct MessageBoxRequest {
    QWidget* parent;
    QString caption;
    QString text;
    QMessageBox::Icon icon;
    bool centredOnScreen;
};

using MessageBoxSeam = std::function<void(const MessageBoxRequest&)>;
// Chooses a log file starting from the last choice; an empty text means the user cancelled.
using FileChooserSeam = std::function<QString(QWidget* parent, const QString& startFile)>;

// Shows a modal box with one OK button through the current seam.
void ShowMessageBox(const MessageBoxRequest& request);
// Replaces the seam; an empty function restores the real message box.
void SetMessageBoxSeam(MessageBoxSeam seam);

QString ChooseLogFile(QWidget* parent, const QString& startFile);
void SetFileChooserSeam(FileChooserSeam seam);

}  // namespace tally::ui
