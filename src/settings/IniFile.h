#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>

/// Settings as an INI file that QSettings reads: keys are paths of levels joined by '/', values
/// are text.
using IniValues = QMap<QString, QString>;

/// Every value the file holds, as far as it can be read; nothing for a missing file.
IniValues ReadIniFile(const QString& path);

/// The file text of the values: one section per first level, every value quoted and escaped, so
/// that ReadIniFile gives back exactly the same keys and texts.
QByteArray IniText(const IniValues& values);
