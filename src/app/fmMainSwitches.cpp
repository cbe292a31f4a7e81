// The four switch buttons of the header: their pictures and hints, and turning them over.
#include "ImageList.h"
#include "alarm/TaskQueue.h"
#include "fmMain.h"

#include <QAction>
#include <QToolButton>

// The pictures live in this static library: its resources are registered by hand.
static void registerSwitchPictures()
{
    Q_INIT_RESOURCE(switches);
}

namespace {
struct SwitchLook
{
    Switch which;
    const char* button;
    const char* offWord;
    const char* onWord;
    const char* ending;
    ImageList images; // the off picture, then the on picture
};

const SwitchLook& lookOf(Switch s)
{
    static const SwitchLook looks[] = {
        {Switch::ActMicDetectToggle, "btnMicDetect", "Use", "Disable", " Microphone Detection",
         ImageList({":/switches/micdetect_off.svg", ":/switches/micdetect_on.svg"})},
        {Switch::ActMouDetectToggle, "btnMouDetect", "Use", "Disable", " Mouse Detection",
         ImageList({":/switches/moudetect_off.svg", ":/switches/moudetect_on.svg"})},
        {Switch::ActSimToggle, "btnSimulation", "Use", "Disable", " Alarm Simulation",
         ImageList({":/switches/simulation_off.svg", ":/switches/simulation_on.svg"})},
        {Switch::ActActivateToggle, "btnActivate", "Activate", "Stop", " Alarm",
         ImageList({":/switches/activate_off.svg", ":/switches/activate_on.svg"})},
    };
    return *std::find_if(std::begin(looks), std::end(looks),
                         [s](const SwitchLook& look) { return look.which == s; });
}
} // namespace

void TfrmMain::drawSwitch(Switch s)
{
    const SwitchLook& look = lookOf(s);
    const int tag = m_switches.Tag(s);
    findChild<QAction*>(Switches::actionName(s))
        ->setToolTip(QString::fromLatin1(tag == 1 ? look.onWord : look.offWord) +
                     QString::fromLatin1(look.ending));
    DrawButton(look.images, findChild<QToolButton*>(QString::fromLatin1(look.button)), tag);
}

void TfrmMain::DrawMicDetectBtnState()
{
    drawSwitch(Switch::ActMicDetectToggle);
}

void TfrmMain::DrawMouDetectBtnState()
{
    drawSwitch(Switch::ActMouDetectToggle);
}

void TfrmMain::DrawSimBtnState()
{
    drawSwitch(Switch::ActSimToggle);
}

void TfrmMain::DrawActivateBtnState()
{
    drawSwitch(Switch::ActActivateToggle);
}

bool TfrmMain::turnOverDetector(Switch s)
{
    const bool on = m_switches.toggle(s);
    drawSwitch(s);
    KeyState();
    return on;
}

void TfrmMain::ActMicDetectToggleExecute()
{
    emit microphoneSwitched(turnOverDetector(Switch::ActMicDetectToggle));
    m_switches.writeTo(m_services.store, Switch::ActMicDetectToggle);
}

void TfrmMain::ActMouDetectToggleExecute()
{
    emit mouseSwitched(turnOverDetector(Switch::ActMouDetectToggle));
    m_switches.writeTo(m_services.store, Switch::ActMouDetectToggle);
}

void TfrmMain::showSwitchesAndStartPlayerLoop()
{
    registerSwitchPictures();
    DrawMicDetectBtnState();
    DrawMouDetectBtnState();
    DrawSimBtnState();
    DrawActivateBtnState();
    DrawButton(ImageList({":/switches/report.svg"}),
               findChild<QToolButton*>(QStringLiteral("btnReport")), 0);
    m_taskQueue->TimTask().setEnabled(true);
}
