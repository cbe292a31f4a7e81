#pragma once

#include <QString>

/// Appends the folder separator unless the text is empty or already ends in one.
QString AddTrailingBackslash(const QString& path);
