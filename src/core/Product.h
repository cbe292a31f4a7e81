#pragma once

#include "core/ApplicationId.h"

#include <QString>

// The program's own names: its title everywhere, and the folder its files live under.
namespace Product {
inline const QString Name = QStringLiteral("Ostrel");
inline const QString Vendor = QStringLiteral("Quillmere");
/// Below the per-user config and data folders: "Quillmere/Ostrel".
inline const QString Folder = Vendor + QLatin1Char('/') + Name;
/// The name of its desktop entry (without ".desktop") and of its icon in the icon theme.
inline const QString ApplicationId = QStringLiteral(OSTREL_APPLICATION_ID);
} // namespace Product
