#include "SoundLibrary.h"

#include "SoundFileDialog.h"
#include "SoundList.h"
#include "SoundSelection.h"
#include "audio/AlarmPlayback.h"
#include "audio/OutputPause.h"
#include "core/AtomicFile.h"
#include "core/ControlStateRefresh.h"
#include "core/MessageBoxes.h"
#include "core/Paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <algorithm>
#include <exception>

namespace {
const QStringList SoundPatterns{QStringLiteral("*.wav"), QStringLiteral("*.mp3")};

QString folderOf(const QString& path)
{
    return AddTrailingBackslash(QFileInfo(path).path());
}

/// The real folder of a path: symbolic links resolved, or the cleaned absolute path of a folder
/// that does not exist.
QString realFolder(const QString& folder)
{
    const QString real = QFileInfo(folder).canonicalFilePath();
    return AddTrailingBackslash(real.isEmpty() ? QDir::cleanPath(QFileInfo(folder).absoluteFilePath())
                                               : real);
}

/// Copies through a temporary file that replaces the target only when complete, so a failed
/// copy leaves an existing sound as it was.
bool copyReplacing(const QString& source, const QString& target)
{
    QFile in(source);
    AtomicFile out(target);
    if (!in.open(QIODevice::ReadOnly) || !out.open())
        return false;
    QByteArray chunk;
    while (!(chunk = in.read(1 << 20)).isEmpty())
        if (!out.write(chunk))
            return false;
    return in.error() == QFileDevice::NoError && out.commit();
}

/// Resumes output on every way out of a removal.
struct OutputResume
{
    OutputPause& output;
    ~OutputResume() { output.resumeOutput(); }
};
} // namespace

SoundLibrary::SoundLibrary(const Collaborators& with) : m_with(with) {}

bool SoundLibrary::isSoundFileName(const QString& fileName)
{
    return std::any_of(SoundPatterns.begin(), SoundPatterns.end(), [&](const QString& pattern) {
        return fileName.endsWith(pattern.mid(1), Qt::CaseInsensitive);
    });
}

void SoundLibrary::FillSounds(const QString& nameToSelect)
{
    SoundList& list = m_with.list;
    list.beginRefill();
    try {
        if (ScanSoundFolder(m_with.soundsFolder, SoundPatterns[0]))
            ScanSoundFolder(m_with.soundsFolder, SoundPatterns[1]);
        list.sortItems();
        const QSet<QString> selected = m_with.selection.foldedNames();
        for (int row = 0; row < list.count(); ++row) {
            if (list.currentRow() < 0 && list.text(row) == nameToSelect)
                list.setCurrentRow(row);
            if (selected.contains(list.text(row).toCaseFolded()))
                list.setChecked(row, true);
        }
        if (list.count() > 0 && list.currentRow() < 0)
            list.setCurrentRow(0);
    } catch (...) {
        list.endRefill();
        throw;
    }
    list.endRefill();
    m_with.controls.KeyState();
    m_with.selection.RecreateSoundList();
}

bool SoundLibrary::ScanSoundFolder(const QString& folder, const QString& pattern)
{
    if (!QFileInfo(folder).isDir())
        return true;
    // Without QDir::CaseSensitive the pattern matches the extension in any letter case.
    QDirIterator entries(folder, {pattern}, QDir::Files | QDir::Hidden);
    while (entries.hasNext()) {
        entries.next();
        if (!TestMaxSounds())
            return false;
        m_with.list.append(entries.fileName());
    }
    return true;
}

bool SoundLibrary::TestMaxSounds()
{
    if (m_with.list.count() < MaxSounds)
        return true;
    m_with.messages.message(
        QStringLiteral("Maximum number of the allowed Alarm Sounds is: %1").arg(MaxSounds));
    return false;
}

bool SoundLibrary::IsInWorkingDirectory(const QString& dataFolder, const QString& file)
{
    // Real paths, compared folder by folder: a folder elsewhere whose path merely contains the
    // data folder's text is not inside it.
    const QString data = realFolder(dataFolder);
    const QString resolvedFile = QFileInfo(file).canonicalFilePath();
    const QString folder = realFolder(folderOf(resolvedFile.isEmpty() ? file : resolvedFile));
    if (!folder.startsWith(data))
        return false;
    m_with.messages.message(
        QStringLiteral(
            "You cannot import already imported files.\r\n\r\nYou must browse outside the ") +
        m_with.dataFolder + QStringLiteral(" working directory.") + QStringLiteral("\r\n\r\n") +
        QStringLiteral("The file you are trying to import it resides in the working directory "
                       "mentioned above."));
    return true;
}

void SoundLibrary::LoadSound(const QString& file)
{
    if (IsInWorkingDirectory(m_with.dataFolder, file))
        return;
    const QString name = QFileInfo(file).fileName();
    // A file of another kind would lie in the folder unlisted, and could never be removed.
    if (!isSoundFileName(name)) {
        m_with.messages.message(QStringLiteral("Only .wav and .mp3 files can be alarm sounds.\r\n\r\n") +
                                name + QStringLiteral(" was not imported."));
        return;
    }
    if (!QDir().mkpath(m_with.soundsFolder))
        return;
    const QString target = m_with.soundsFolder + name;
    if (QFileInfo::exists(target) &&
        !m_with.messages.question(QStringLiteral("The sound you try to import is already in the "
                                                 "list!\r\nWould you like to overwrite it?")))
        return;
    try {
        if (!copyReplacing(file, target))
            return;
        m_with.selection.add(name);
        FillSounds(name);
    } catch (const std::exception&) {
        m_with.messages.message(QStringLiteral("Error Adding Sound."));
    }
}

void SoundLibrary::ActAddSoundExecute()
{
    if (!TestMaxSounds())
        return;
    QCoreApplication::processEvents();
    const QString file = m_with.dialog.chooseSoundFile();
    if (file.isEmpty())
        return;
    QCoreApplication::processEvents();
    LoadSound(file);
}

void SoundLibrary::DropFileTargetSoundsDrop(const QStringList& files)
{
    for (const QString& file : files) {
        if (!isSoundFileName(QFileInfo(file).fileName()))
            continue;
        if (!TestMaxSounds())
            return;
        LoadSound(file);
        QCoreApplication::processEvents();
    }
}

void SoundLibrary::ActRemoveSoundExecute()
{
    const SoundList& list = m_with.list;
    const int row = list.currentRow();
    if (row < 0)
        return;
    m_with.playback.StopSounds();
    m_with.output.pauseOutput();
    const OutputResume resume{m_with.output};
    const QString name = list.text(row);
    if (!m_with.messages.question(QStringLiteral("Are you sure you want to remove the ") + name +
                                  QStringLiteral(" Sound?")))
        return;
    // The sound before it comes up selected; after the first, the new first one does.
    const QString neighbour = row > 0 ? list.text(row - 1) : name;
    try {
        if (QFile::remove(m_with.soundsFolder + name))
            FillSounds(neighbour);
    } catch (const std::exception&) {
        m_with.messages.message(QStringLiteral("Error Remove Sound."));
    }
}

void SoundLibrary::testPlay(int panMode)
{
    const SoundList& list = m_with.list;
    if (list.count() == 0 || list.currentRow() < 0)
        return;
    m_with.playback.StopSounds();
    m_with.playback.PlayHow(0, panMode, m_with.soundsFolder + list.text(list.currentRow()));
}
