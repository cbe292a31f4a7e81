#pragma once

#include "sounds/SoundFileDialog.h"

#include <QStringList>

/// Answers the open-file dialog from a script (cancel when it runs out) and counts openings.
class FakeSoundFileDialog : public SoundFileDialog
{
public:
    QString chooseSoundFile() override
    {
        ++opened;
        return answers.isEmpty() ? QString() : answers.takeFirst();
    }

    QStringList answers;
    int opened = 0;
};
