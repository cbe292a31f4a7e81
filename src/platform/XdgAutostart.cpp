#include "XdgAutostart.h"

#include "core/AtomicFile.h"
#include "core/Product.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

XdgAutostart::XdgAutostart(const QString& executablePath) : m_executablePath(executablePath) {}

QString XdgAutostart::filePath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/autostart/ostrel.desktop");
}

QString DesktopExecValue(const QString& executablePath)
{
    // Inside a quoted argument, '"', '`', '$' and '\' take a backslash. The value is a string
    // as well, whose own escapes are undone first: every backslash is doubled again, and
    // control characters get their string escapes. A '%' would start a field code.
    QString quoted;
    for (const QChar c : executablePath) {
        if (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$') ||
            c == QLatin1Char('\\'))
            quoted += QLatin1Char('\\');
        quoted += c;
    }
    QString value;
    for (const QChar c : quoted) {
        switch (c.unicode()) {
        case '\\': value += QStringLiteral("\\\\"); break;
        case '\n': value += QStringLiteral("\\n"); break;
        case '\t': value += QStringLiteral("\\t"); break;
        case '\r': value += QStringLiteral("\\r"); break;
        case '%': value += QStringLiteral("%%"); break;
        default: value += c;
        }
    }
    return QLatin1Char('"') + value + QLatin1Char('"');
}

void XdgAutostart::write()
{
    // Failures are silent, like every other settings write.
    const QString path = filePath();
    if (!QDir().mkpath(QFileInfo(path).path()))
        return;
    // The name and icon of the installed entry, so the session lists it as the same program.
    const QByteArray text = "[Desktop Entry]\nType=Application\nName=" + Product::Name.toUtf8() +
                            "\nIcon=" + Product::ApplicationId.toUtf8() +
                            "\nExec=" + DesktopExecValue(m_executablePath).toUtf8() + '\n';
    WriteFileAtomically(path, text);
}

void XdgAutostart::remove()
{
    QFile::remove(filePath());
}
