#include "game/ui/desktop_identity.h"

#include <QGuiApplication>
#include <algorithm>
#include <cstdlib>

namespace kv {

QString desktopEntryId(const char* fromLauncher)
{
    QString id = QString::fromUtf8(fromLauncher ? fromLauncher : "");
    if (id.endsWith(QLatin1String(".desktop")))
        id.chop(8);
    // The characters a desktop file id may have; anything else is no entry's name.
    const auto allowed = [](QChar c) {
        return (c.unicode() < 128 && c.isLetterOrNumber()) || c == u'.' || c == u'_' || c == u'-';
    };
    const bool valid = !id.isEmpty() && id.size() <= 255 && std::all_of(id.begin(), id.end(), allowed);
    return valid ? id : QString::fromLatin1(kSetupDesktopEntry);
}

void identifyToDesktop()
{
    // Qt takes the class in WM_CLASS and the title of untitled windows from the application's
    // name. The display name would do the titles too, but it is appended to every other title
    // ("Highscore – KARVELO"), which must stay as they are.
    QGuiApplication::setApplicationName(QStringLiteral("KARVELO"));
    QGuiApplication::setDesktopFileName(desktopEntryId(std::getenv("KARVELO_DESKTOP_ENTRY")));
}

}  // namespace kv
