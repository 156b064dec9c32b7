// tallyscope-gui: the desktop damage meter.

#include <QApplication>
#include <QDir>

#include "app/app_theme.h"
#include "app/application.h"
#include "app/error_text.h"
#include "tallyscope/platform.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    tally::ui::ApplyAquaLightSlate(application);
    QApplication::setApplicationName(QString::fromUtf8(tally::ui::kApplicationTitle));
    // The settings file and the reference lists live in the directory current at start-up.
    const QString appDir =
        QString::fromStdString(tally::platform::PathToUtf8(tally::platform::CurrentDirectory()));
    tally::ui::Application windows(appDir);
    windows.ShowMainWindow();
    return QApplication::exec();
}
