// Times the sound list at its limit: 9999 files in the sounds folder, all of them selected.
// Measures the start-up fill of the list and a click on an item (a full rebuild and store of
// the selection), then the save that follows on the next turn of the event loop.
#include "MainWindowFixture.h"
#include "app/gVars.h"
#include "sounds/SoundLibrary.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QListWidget>

#include <cstdio>

namespace {
constexpr qint64 FillLimitMs = 1000;
constexpr qint64 ClickLimitMs = 100;
} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    MainWindowFixture f;
    for (int i = 0; i < SoundLibrary::MaxSounds; ++i) {
        const QString name = QStringLiteral("Alarm sound %1.%2").arg(i).arg(i % 2 ? "mp3" : "wav");
        MainWindowFixture::addSoundFile(name);
        f.store->WriteSetting(gRegistry::SoundSelectionKey, name, QStringLiteral("T"));
    }
    f.store->flush();

    QElapsedTimer timer;
    timer.start();
    TfrmMain& window = f.open();
    const qint64 createMs = timer.elapsed();
    window.show();
    QApplication::processEvents();

    timer.restart();
    f.logic->soundLibrary().FillSounds(QString());
    const qint64 fillMs = timer.elapsed();

    auto* list = f.find<QListWidget>(QStringLiteral("chklbSounds"));
    timer.restart();
    list->setCurrentRow(5000); // what a click or an arrow key does
    const qint64 clickMs = timer.elapsed();
    QApplication::processEvents(); // the store saves on the next turn of the event loop
    const qint64 clickAndSaveMs = timer.elapsed();

    const bool whole = list->count() == SoundLibrary::MaxSounds &&
                       f.logic->SelectedSounds().size() == SoundLibrary::MaxSounds &&
                       f.messages.shown.isEmpty();
    std::printf("window creation with %d sounds: %lld ms; list fill (FillSounds): %lld ms "
                "(limit %lld)\nclick on an item (rebuild and store %lld names): %lld ms (limit "
                "%lld); with the save: %lld ms\n%s\n",
                SoundLibrary::MaxSounds, static_cast<long long>(createMs),
                static_cast<long long>(fillMs), static_cast<long long>(FillLimitMs),
                static_cast<long long>(f.logic->SelectedSounds().size()),
                static_cast<long long>(clickMs), static_cast<long long>(ClickLimitMs),
                static_cast<long long>(clickAndSaveMs),
                whole ? "all sounds listed and selected" : "NOT all sounds listed and selected");
    return whole && createMs <= FillLimitMs && fillMs <= FillLimitMs && clickMs <= ClickLimitMs ? 0 : 1;
}
