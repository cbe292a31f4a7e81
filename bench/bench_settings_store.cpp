// Times what a rebuild of the sound selection costs the settings store: delete the selection key,
// write 9999 names, and save. Counts how often the settings file was replaced meanwhile.
#include "settings/gRegistry.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <cstdio>
#include <sys/inotify.h>
#include <unistd.h>

namespace {
int countReplacements(int watch)
{
    int replaced = 0;
    alignas(inotify_event) char buffer[64 * 1024];
    for (ssize_t n; (n = read(watch, buffer, sizeof buffer)) > 0;) {
        for (char* p = buffer; p < buffer + n;) {
            const auto* event = reinterpret_cast<inotify_event*>(p);
            // Each atomic save renames a finished temporary file onto the settings file.
            if ((event->mask & IN_MOVED_TO) && event->len && qstrcmp(event->name, "Ostrel.ini") == 0)
                ++replaced;
            p += sizeof(inotify_event) + event->len;
        }
    }
    return replaced;
}
} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const QString file = dir.path() + QStringLiteral("/Ostrel.ini");
    SettingsStore store(file);
    for (int i = 0; i < 9999; ++i)
        store.WriteSetting(gRegistry::SoundSelectionKey, QStringLiteral("old %1.wav").arg(i), "T");
    store.flush();

    const int watch = inotify_init1(IN_NONBLOCK);
    inotify_add_watch(watch, dir.path().toLocal8Bit().constData(), IN_MOVED_TO);

    QElapsedTimer timer;
    timer.start();
    store.DeleteSettingsKey(gRegistry::SoundSelectionKey);
    for (int i = 0; i < 9999; ++i)
        store.WriteSetting(gRegistry::SoundSelectionKey,
                           QStringLiteral("Alarm sound number %1.mp3").arg(i), QStringLiteral("T"));
    const qint64 writesMs = timer.elapsed();
    QCoreApplication::processEvents(); // the store saves on the next turn of the event loop
    store.flush();
    const qint64 totalMs = timer.elapsed();
    const int replaced = countReplacements(watch);
    close(watch);

    std::printf("delete key + 9999 writes: %lld ms; with the save: %lld ms; file written %d time(s)\n",
                static_cast<long long>(writesMs), static_cast<long long>(totalMs), replaced);
    return totalMs <= 200 && replaced == 1 ? 0 : 1;
}
