#pragma once

#include "core/UrlOpener.h"

/// Opens addresses the way the desktop opens them (xdg-open and its like), without waiting.
class DesktopUrlOpener : public UrlOpener
{
public:
    void open(const QString& target) override;
};
