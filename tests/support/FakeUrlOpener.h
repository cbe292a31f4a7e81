#pragma once

#include "core/UrlOpener.h"

#include <QStringList>

/// Records what would have been opened, instead of starting a browser or mail program.
struct FakeUrlOpener : UrlOpener
{
    QStringList opened;
    void open(const QString& target) override { opened << target; }
};
