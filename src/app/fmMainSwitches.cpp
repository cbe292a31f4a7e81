// The header's buttons: the four switches with their pictures and hints, and the report button.
#include "ImageList.h"
#include "fmMain.h"

#include <QAction>
#include <QToolButton>
#include <algorithm>

// The pictures live in this static library: its resources are registered by hand.
static void registerSwitchPictures()
{
    Q_INIT_RESOURCE(switches);
}

namespace {
constexpr int ButtonAreaWidth = 277;

struct SwitchLook
{
    Switch which;
    QAction* MainWidgets::*action;
    QToolButton* MainWidgets::*button;
    const char* buttonName;
    const char* caption; // while no picture is drawn
    int offset;          // from the left of the buttons' area
    const char* offWord;
    const char* onWord;
    const char* ending;
    ImageList images; // the off picture, then the on picture
};

const SwitchLook& lookOf(Switch s)
{
    using W = MainWidgets;
    static const SwitchLook looks[] = {
        {Switch::ActMicDetectToggle, &W::ActMicDetectToggle, &W::btnMicDetect, "btnMicDetect",
         "Mic", 0, "Use", "Disable", " Microphone Detection",
         ImageList({":/switches/micdetect_off.svg", ":/switches/micdetect_on.svg"})},
        {Switch::ActMouDetectToggle, &W::ActMouDetectToggle, &W::btnMouDetect, "btnMouDetect",
         "Mouse", 44, "Use", "Disable", " Mouse Detection",
         ImageList({":/switches/moudetect_off.svg", ":/switches/moudetect_on.svg"})},
        {Switch::ActSimToggle, &W::ActSimToggle, &W::btnSimulation, "btnSimulation", "Sim", 88,
         "Use", "Disable", " Alarm Simulation",
         ImageList({":/switches/simulation_off.svg", ":/switches/simulation_on.svg"})},
        {Switch::ActActivateToggle, &W::ActActivateToggle, &W::btnActivate, "btnActivate", "Arm",
         190, "Activate", "Stop", " Alarm",
         ImageList({":/switches/activate_off.svg", ":/switches/activate_on.svg"})},
    };
    return *std::find_if(std::begin(looks), std::end(looks),
                         [s](const SwitchLook& look) { return look.which == s; });
}

/// A flat 42 x 42 button of the header that shows its action.
QToolButton* headerButton(QWidget* header, const QString& actionName, const char* buttonName,
                          const char* caption, int offset)
{
    auto* action = new QAction(QString::fromLatin1(caption), header);
    action->setObjectName(actionName);
    auto* button = new QToolButton(header);
    button->setObjectName(QString::fromLatin1(buttonName));
    button->setDefaultAction(action);
    button->setAutoRaise(true);
    button->setGeometry(header->width() - ButtonAreaWidth + offset, 2, 42, 42);
    button->setIconSize(QSize(40, 40));
    return button;
}
} // namespace

void TfrmMain::buildSwitchButtons(QWidget* header)
{
    registerSwitchPictures();
    for (Switch s : {Switch::ActMicDetectToggle, Switch::ActMouDetectToggle, Switch::ActSimToggle,
                     Switch::ActActivateToggle}) {
        const SwitchLook& look = lookOf(s);
        QToolButton* button = headerButton(header, Switches::actionName(s), look.buttonName,
                                           look.caption, look.offset);
        m_ui.*look.button = button;
        m_ui.*look.action = button->defaultAction();
    }
    m_ui.btnReport =
        headerButton(header, QStringLiteral("ActViewReport"), "btnReport", "Report", 234);
    m_ui.ActViewReport = m_ui.btnReport->defaultAction();
    m_ui.ActViewReport->setToolTip(QStringLiteral("View Report"));
    DrawButton(ImageList({":/switches/report.svg"}), m_ui.btnReport, 0);
}

void TfrmMain::drawSwitch(Switch s, int tag)
{
    const SwitchLook& look = lookOf(s);
    (m_ui.*look.action)
        ->setToolTip(QString::fromLatin1(tag == 1 ? look.onWord : look.offWord) +
                     QString::fromLatin1(look.ending));
    DrawButton(look.images, m_ui.*look.button, tag);
}
