// The sound list, its actions and pop-up menu, file drops and the speaker test.
#include "SoundCheckList.h"
#include "audio/AlarmPlayback.h"
#include "audio/AudioBackend.h"
#include "fmMain.h"
#include "sounds/SoundLibrary.h"
#include "sounds/SoundSelection.h"

#include <QAction>
#include <QMenu>
#include <QPushButton>

void TfrmMain::createSoundSelection()
{
    m_soundSelection =
        std::make_unique<SoundSelection>(m_services.store, m_soundList, m_selectedSounds, *this);
    m_soundSelection->readStored();
}

void TfrmMain::createSoundLibrary()
{
    m_soundLibrary = std::make_unique<SoundLibrary>(SoundLibrary::Collaborators{
        m_soundList, *m_soundSelection, m_services.messages, *m_playback, *this,
        m_services.soundFiles, *this});
    connectSoundList();
}

void TfrmMain::connectSoundList()
{
    auto* list = findChild<SoundCheckList*>(QStringLiteral("chklbSounds"));
    list->bind(m_soundList);
    const auto action = [this](const char* name) {
        return findChild<QAction*>(QString::fromLatin1(name));
    };
    QAction* add = action("ActAddSound");
    QAction* remove = action("ActRemoveSound");
    connect(add, &QAction::triggered, this, [this] { m_soundLibrary->ActAddSoundExecute(); });
    connect(remove, &QAction::triggered, this, [this] { m_soundLibrary->ActRemoveSoundExecute(); });

    auto* menu = new QMenu(this);
    menu->setObjectName(QStringLiteral("popAlarmSounds"));
    menu->addAction(add);
    menu->setDefaultAction(add);
    menu->addAction(remove);
    menu->addSeparator();
    for (const auto& [name, mode] : {std::pair{"ActChkLbAlarmSndChecktAll", CheckMode::CheckAll},
                                     std::pair{"ActChkLbAlarmSndCheckInverse", CheckMode::CheckInverse},
                                     std::pair{"ActChkLbAlarmSndUnCheckAll", CheckMode::UncheckAll}}) {
        QAction* check = action(name);
        menu->addAction(check);
        connect(check, &QAction::triggered, this,
                [this, mode = mode] { m_soundSelection->CheckingCheckList(mode); });
    }
    list->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(list, &QWidget::customContextMenuRequested, menu,
            [list, menu](QPoint at) { menu->popup(list->viewport()->mapToGlobal(at)); });

    const auto recreate = [this] { m_soundSelection->RecreateSoundList(); };
    connect(list, &SoundCheckList::userChanged, this, recreate);
    connect(list, &SoundCheckList::characterTyped, this, recreate);
    connect(list, &SoundCheckList::keyUp, this, [add, remove](int key) {
        QAction* keyAction = key == Qt::Key_Delete ? remove : key == Qt::Key_Insert ? add : nullptr;
        if (keyAction && keyAction->isEnabled())
            keyAction->trigger();
    });
    // Imports ask questions: they run once the drop itself has finished.
    connect(list, &SoundCheckList::filesDropped, this,
            [this](const QStringList& paths) { m_soundLibrary->DropFileTargetSoundsDrop(paths); },
            Qt::QueuedConnection);

    for (const auto& [name, pan] : {std::pair{"btnFrontLeft", PanLeft},
                                    std::pair{"btnFrontCenter", PanCentre},
                                    std::pair{"btnFrontRight", PanRight}})
        connect(findChild<QPushButton*>(QString::fromLatin1(name)), &QPushButton::clicked, this,
                [this, pan = pan] { m_soundLibrary->testPlay(pan); });
    connect(findChild<QPushButton*>(QStringLiteral("btnTestStop")), &QPushButton::clicked, this,
            [this] { m_playback->StopSounds(); });
}

void TfrmMain::pauseOutput()
{
    m_services.audio.pauseOutput();
}

void TfrmMain::resumeOutput()
{
    m_services.audio.resumeOutput();
}
