#pragma once
// The product's home page and the way the front end opens addresses in the user's browser.

#include <QUrl>
#include <functional>

namespace tally::ui {

inline constexpr char kHomePageAddress[] = "https://tallyscope.example.org/";

// Opens an address in the user's browser; tests put a recorder in its place.
using UrlOpener = std::function<void(const QUrl&)>;

// Hands the address to the desktop's default browser. A failure is not reported: the user simply sees no
// browser.
void OpenInBrowser(const QUrl& address);

}  // namespace tally::ui
