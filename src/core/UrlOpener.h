#pragma once

#include <QString>

/// Hands an address (a web page, a mailto text) to the desktop, which opens it in the user's
/// browser or mail program. Fire and forget: nothing waits, and a failure is ignored.
class UrlOpener
{
public:
    virtual ~UrlOpener() = default;
    virtual void open(const QString& target) = 0;
};
