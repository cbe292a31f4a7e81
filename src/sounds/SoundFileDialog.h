#pragma once

#include <QString>

/// Asks the user for one existing sound file to import.
class SoundFileDialog
{
public:
    virtual ~SoundFileDialog() = default;
    /// The chosen file's full path, or an empty text when the user cancelled.
    virtual QString chooseSoundFile() = 0;
};
