#include "DesktopUrlOpener.h"

#include <QDesktopServices>
#include <QUrl>

void DesktopUrlOpener::open(const QString& target)
{
    // The text goes as it is; whatever a mailto or web address needs encoded, the URL encodes
    // on its way out. A failure (no browser, no mail program) is ignored.
    QDesktopServices::openUrl(QUrl(target, QUrl::TolerantMode));
}
