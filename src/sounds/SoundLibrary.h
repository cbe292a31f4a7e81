#pragma once

#include <QString>
#include <QStringList>

class AlarmPlayback;
class ControlStateRefresh;
class MessageBoxes;
class OutputPause;
class SoundFileDialog;
class SoundList;
class SoundSelection;

/// The imported alarm sounds: the .wav and .mp3 files of the sounds folder shown in the sound
/// list, their import (dialog or drop), their removal, and the speaker test that plays the
/// selected one.
class SoundLibrary
{
public:
    /// The list holds at most this many sounds.
    static constexpr int MaxSounds = 9999;

    struct Collaborators
    {
        SoundList& list;
        SoundSelection& selection;
        MessageBoxes& messages;
        AlarmPlayback& playback;
        OutputPause& output;
        SoundFileDialog& dialog;
        ControlStateRefresh& controls;
        QString dataFolder;   // imports from here or below are refused
        QString soundsFolder; // the imported sounds
    };
    explicit SoundLibrary(const Collaborators& with);

    /// Refills the list from the sounds folder, selects the named item (else the first), checks
    /// the selected names and stores the selection anew.
    void FillSounds(const QString& nameToSelect);
    /// Adds the folder's files that match the pattern ("*.wav"), extension in any letter case;
    /// false when the limit stopped the scan.
    bool ScanSoundFolder(const QString& folder, const QString& pattern);
    /// True when one more sound may be added; otherwise says why.
    bool TestMaxSounds();
    /// True (after saying so) when the file lies in the data folder or below it.
    bool IsInWorkingDirectory(const QString& dataFolder, const QString& file);
    void LoadSound(const QString& file);
    void ActAddSoundExecute();
    void DropFileTargetSoundsDrop(const QStringList& files);
    void ActRemoveSoundExecute();
    /// Plays the selected sound in the given direction, alone.
    void testPlay(int panMode);

    /// True for the names the folder scan lists: .wav and .mp3, in any letter case.
    static bool isSoundFileName(const QString& fileName);

private:
    Collaborators m_with;
};
