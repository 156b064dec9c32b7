#include "windows/home_page.h"

#include <QDesktopServices>

namespace tally::ui {

void OpenInBrowser(const QUrl& address) {
    QDesktopServices::openUrl(address);
}

}  // namespace tally::ui
