#include "IniFile.h"

#include <QSettings>

namespace {
bool isHexDigit(QChar c)
{
    return (c >= QLatin1Char('0') && c <= QLatin1Char('9')) ||
           (c >= QLatin1Char('a') && c <= QLatin1Char('f')) ||
           (c >= QLatin1Char('A') && c <= QLatin1Char('F'));
}

/// A key level as QSettings writes it: letters, digits, '_', '-' and '.' stand as they are,
/// every other character as %XX or %UXXXX, and '/' between levels as '\'.
QByteArray escapedKey(const QString& key)
{
    QByteArray out;
    for (const QChar c : key) {
        const char16_t u = c.unicode();
        if (u == '/')
            out += '\\';
        else if ((u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9') ||
                 u == '_' || u == '-' || u == '.')
            out += char(u);
        else if (u <= 0xFF)
            out += '%' + QByteArray::number(u, 16).rightJustified(2, '0').toUpper();
        else
            out += "%U" + QByteArray::number(u, 16).rightJustified(4, '0').toUpper();
    }
    return out;
}

/// A value as a quoted string. Control characters and lone surrogate halves become \x escapes;
/// since an escape reads every hex digit after it, a hex digit right after one is escaped too.
/// A leading '@' is doubled, as QSettings marks typed values with it.
QByteArray quotedValue(const QString& value)
{
    QByteArray out = "\"";
    if (value.startsWith(QLatin1Char('@')))
        out += '@';
    bool afterHexEscape = false;
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value[i];
        const bool pairedSurrogate =
            (c.isHighSurrogate() && i + 1 < value.size() && value[i + 1].isLowSurrogate()) ||
            (c.isLowSurrogate() && i > 0 && value[i - 1].isHighSurrogate());
        const bool escape = c.unicode() < 0x20 || c.unicode() == 0x7F ||
                            (c.isSurrogate() && !pairedSurrogate) || (afterHexEscape && isHexDigit(c));
        afterHexEscape = escape;
        if (escape)
            out += "\\x" + QByteArray::number(c.unicode(), 16);
        else if (c == QLatin1Char('"') || c == QLatin1Char('\\'))
            out += '\\' + QByteArray(1, char(c.unicode()));
        else if (pairedSurrogate && c.isHighSurrogate())
            out += QString(value.constData() + i, 2).toUtf8();
        else if (!c.isSurrogate())
            out += QString(c).toUtf8();
    }
    return out + '"';
}
} // namespace

IniValues ReadIniFile(const QString& path)
{
    // Read only: QSettings writes nothing back while nothing is set.
    const QSettings file(path, QSettings::IniFormat);
    IniValues values;
    for (const QString& key : file.allKeys()) {
        if (key.isEmpty()) // what a damaged line may leave
            continue;
        const QVariant value = file.value(key);
        values.insert(key, value.canConvert<QString>() ? value.toString() : QString());
    }
    return values;
}

QByteArray IniText(const IniValues& values)
{
    QByteArray text;
    QString section;
    for (auto it = values.cbegin(); it != values.cend(); ++it) {
        const qsizetype slash = it.key().indexOf(QLatin1Char('/'));
        // Keys without a level go to [General]; a first level named so is escaped.
        const QString keySection = slash < 0 ? QStringLiteral("General") : it.key().left(slash);
        if (text.isEmpty() || keySection != section) {
            section = keySection;
            if (!text.isEmpty())
                text += '\n';
            const bool isGeneralLevel = slash >= 0 && section == QLatin1String("General");
            text += '[' + (isGeneralLevel ? QByteArray("%General") : escapedKey(section)) + "]\n";
        }
        text += escapedKey(it.key().mid(slash + 1)) + '=' + quotedValue(it.value()) + '\n';
    }
    return text;
}
