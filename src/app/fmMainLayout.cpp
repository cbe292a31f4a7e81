// The main window's widgets: fixed positions and colours on a 537 x 594 client area.
#include "LedLamp.h"
#include "core/Colours.h"
#include "core/Product.h"
#include "fmMain.h"
#include "settings/TunableSpinBox.h"
#include "sounds/SoundCheckList.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QSlider>
#include <QToolButton>

namespace {
constexpr int ClientWidth = 537;
constexpr int ClientHeight = 594;
constexpr int ControlLeft = 124;
constexpr int ControlWidth = 112;
constexpr int LampLeft = 243;

QFrame* panel(QWidget* parent, const char* name, QRect geometry, std::uint32_t colour)
{
    auto* frame = new QFrame(parent);
    frame->setObjectName(QString::fromLatin1(name));
    frame->setGeometry(geometry);
    frame->setAutoFillBackground(true);
    QPalette palette = frame->palette();
    palette.setColor(QPalette::Window, QColor(Colours::toArgb(colour)));
    frame->setPalette(palette);
    return frame;
}

QLabel* label(QWidget* parent, const QString& text, QRect geometry,
              Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter)
{
    auto* l = new QLabel(text, parent);
    l->setGeometry(geometry);
    l->setAlignment(alignment);
    return l;
}

LedLamp* lamp(QWidget* parent, const char* name, int top)
{
    auto* led = new LedLamp(parent);
    led->setObjectName(QString::fromLatin1(name));
    led->move(LampLeft, top);
    return led;
}

QProgressBar* gauge(QWidget* parent, const char* name, int top)
{
    auto* bar = new QProgressBar(parent);
    bar->setObjectName(QString::fromLatin1(name));
    bar->setGeometry(ControlLeft + 4, top, ControlWidth - 8, 5);
    bar->setRange(0, 100);
    bar->setValue(0);
    bar->setTextVisible(false);
    return bar;
}

/// A plain white plus or minus sign for the small buttons of the sound list's title bar.
QIcon signIcon(bool plus)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setPen(QPen(Qt::white, 2));
    painter.drawLine(3, 8, 13, 8);
    if (plus)
        painter.drawLine(8, 3, 8, 13);
    return QIcon(pixmap);
}

QPushButton* button(QWidget* parent, const char* name, const QString& caption, QRect geometry)
{
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setGeometry(geometry);
    return b;
}
} // namespace

void TfrmMain::buildLayout()
{
    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    client->setFixedSize(ClientWidth, ClientHeight);
    client->setAutoFillBackground(true);
    QPalette palette = client->palette();
    palette.setColor(QPalette::Window, Qt::white);
    client->setPalette(palette);
    QFont font = client->font();
    font.setPixelSize(11);
    client->setFont(font);
    setCentralWidget(client);

    buildHeader(client);
    buildLeftColumn(client);
    buildRightColumn(client);
    buildFooter(client);
}

void TfrmMain::addTunable(QWidget* parent, Tunable id, int top)
{
    const TunableDefinition& d = definitionOf(id);
    label(parent, d.caption, QRect(8, top + 2, ControlLeft - 10, 34));
    if (d.isSlider) {
        auto* slider = new QSlider(Qt::Horizontal, parent);
        slider->setRange(d.minimum, d.maximum);
        slider->setValue(d.defaultValue);
        slider->setSingleStep(1);
        slider->setPageStep(d.pageStep);
        slider->setTickPosition(QSlider::TicksBelow);
        slider->setTickInterval(d.tickInterval);
        slider->setGeometry(ControlLeft, top + 2, ControlWidth, 22);
        slider->setObjectName(d.name);
        m_ui.sliders[id] = slider;
        const int labelWidth = ControlWidth / 3;
        const QList<Qt::Alignment> alignments =
            d.endLabels.size() == 3
                ? QList<Qt::Alignment>{Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignRight}
                : QList<Qt::Alignment>{Qt::AlignLeft, Qt::AlignRight};
        const QList<int> lefts = d.endLabels.size() == 3
                                     ? QList<int>{0, labelWidth, 2 * labelWidth}
                                     : QList<int>{0, 2 * labelWidth};
        for (qsizetype i = 0; i < d.endLabels.size(); ++i)
            label(parent, d.endLabels[i],
                  QRect(ControlLeft + lefts[i], top + 24, labelWidth, 13), alignments[i]);
    } else {
        auto* spin = new TunableSpinBox(d.minimum, d.maximum, d.defaultValue, parent);
        spin->setGeometry(ControlLeft, top + 9, 64, 22);
        spin->setObjectName(d.name);
        m_ui.spinBoxes[id] = spin;
    }
}

void TfrmMain::buildHeader(QWidget* client)
{
    QFrame* header = panel(client, "pnlHeader", QRect(0, 0, ClientWidth, 46), Colours::LampOff);
    auto* picture = label(header, Product::Name, QRect(0, 0, 257, 46), Qt::AlignCenter);
    picture->setObjectName(QStringLiteral("Image1"));
    m_ui.Image1 = picture;
    picture->setCursor(Qt::PointingHandCursor);
    QFont font = picture->font();
    font.setPixelSize(26);
    font.setBold(true);
    picture->setFont(font);
    picture->setStyleSheet(QStringLiteral("color: white"));

    buildSwitchButtons(header);

    QFrame* volume = panel(client, "pnlSystemVolume", QRect(5, 53, 527, 58), Colours::PanelDark);
    m_ui.lblSystemVolume = label(volume, QString(), QRect(9, 3, 328, 52), Qt::AlignCenter);
    m_ui.lblSystemVolume->setObjectName(QStringLiteral("lblSystemVolume"));
    m_ui.btnSysVolumeControl =
        button(volume, "btnSysVolumeControl", QStringLiteral("System Volume Control"),
               QRect(351, 6, 167, 22));
    m_ui.btnSysRecordingControl =
        button(volume, "btnSysRecordingControl", QStringLiteral("System Recording Control"),
               QRect(351, 31, 167, 22));
}

void TfrmMain::buildLeftColumn(QWidget* client)
{
    QFrame* mic = panel(client, "pnlMicrophone", QRect(5, 118, 260, 89), Colours::PanelLight);
    addTunable(mic, Tunable::trkMicTriggerVolume, 0);
    m_ui.ggDetection = gauge(mic, "ggDetection", 38);
    addTunable(mic, Tunable::trkMicTriggerDuration, 44);
    m_ui.ggDuration = gauge(mic, "ggDuration", 82);
    m_ui.lamps[Lamp::shpLedMicDetection] = lamp(mic, "shpLedMicDetection", 39);

    QFrame* mouse = panel(client, "pnlMouse", QRect(5, 214, 260, 41), Colours::PanelDark);
    addTunable(mouse, Tunable::trkMouseSensivity, 0);
    m_ui.lamps[Lamp::shpLedMouDetection] = lamp(mouse, "shpLedMouDetection", 15);

    QFrame* trigger = panel(client, "pnlTriggerDelay", QRect(5, 262, 260, 41), Colours::PanelDark);
    addTunable(trigger, Tunable::spnTriggerDelay, 0);
    m_ui.lamps[Lamp::shpLedTriggerDelay] = lamp(trigger, "shpLedTriggerDelay", 15);

    QFrame* activation =
        panel(client, "pnlActivationDelay", QRect(5, 310, 260, 41), Colours::PanelDark);
    addTunable(activation, Tunable::spnActivationDelay, 0);
    m_ui.lamps[Lamp::shpLedActivationDelay] = lamp(activation, "shpLedActivationDelay", 15);

    QFrame* simulation = panel(client, "pnlSimulation", QRect(5, 358, 260, 89), Colours::PanelDark);
    addTunable(simulation, Tunable::spnSimulateEvery, 0);
    addTunable(simulation, Tunable::spnSimulateRandom, 44);
    m_ui.lamps[Lamp::shpLedSimulation] = lamp(simulation, "shpLedSimulation", 39);

    QFrame* speakers = panel(client, "pnlSpeakersTest", QRect(5, 454, 260, 108), Colours::PanelDark);
    label(speakers, QStringLiteral("Speakers Test"), QRect(8, 6, 244, 16), Qt::AlignCenter);
    m_ui.btnFrontLeft =
        button(speakers, "btnFrontLeft", QStringLiteral("L"), QRect(40, 32, 50, 30));
    m_ui.btnFrontLeft->setToolTip(QStringLiteral("Left Speaker"));
    m_ui.btnFrontCenter =
        button(speakers, "btnFrontCenter", QStringLiteral("C"), QRect(105, 32, 50, 30));
    m_ui.btnFrontCenter->setToolTip(QStringLiteral("Center/Both Speakers"));
    m_ui.btnFrontRight =
        button(speakers, "btnFrontRight", QStringLiteral("R"), QRect(170, 32, 50, 30));
    m_ui.btnFrontRight->setToolTip(QStringLiteral("Right Speaker"));
    m_ui.btnTestStop =
        button(speakers, "btnTestStop", QStringLiteral("Stop"), QRect(90, 72, 80, 26));

    // The recording input and its level belong to the audio set-up; the user never sees them.
    m_ui.cmbRecSource = new QComboBox(client);
    m_ui.cmbRecSource->setObjectName(QStringLiteral("cmbRecSource"));
    m_ui.cmbRecSource->hide();
    QFrame* sensitivity =
        panel(client, "pnlMicSensivity", QRect(5, 118, 260, 41), Colours::PanelLight);
    addTunable(sensitivity, Tunable::trkMicSensivity, 0);
    sensitivity->hide();
}

void TfrmMain::buildRightColumn(QWidget* client)
{
    QFrame* volume = panel(client, "pnlAlarmVolume", QRect(272, 118, 260, 41), Colours::PanelLight);
    addTunable(volume, Tunable::trkAlarmVolume, 0);

    QFrame* alteration =
        panel(client, "pnlAlteration", QRect(272, 166, 260, 89), Colours::PanelDark);
    addTunable(alteration, Tunable::trkGlobalAlteration, 0);
    addTunable(alteration, Tunable::trkRandomAlteration, 44);

    QFrame* duration = panel(client, "pnlDuration", QRect(272, 262, 260, 89), Colours::PanelDark);
    addTunable(duration, Tunable::trkPersistence, 0);
    addTunable(duration, Tunable::trkPersistenceRandom, 44);

    QFrame* title = panel(client, "pnlSoundsTitle", QRect(272, 358, 260, 26), Colours::LampOff);
    QLabel* caption = label(title, QStringLiteral("Alarm Sounds"), QRect(8, 0, 190, 26));
    QFont font = caption->font();
    font.setPixelSize(16);
    caption->setFont(font);
    caption->setStyleSheet(
        QStringLiteral("color: %1").arg(QColor(Colours::toArgb(Colours::TitleText)).name()));

    m_ui.chklbSounds = new SoundCheckList(client);
    m_ui.chklbSounds->setObjectName(QStringLiteral("chklbSounds"));
    m_ui.chklbSounds->setGeometry(272, 383, 260, 180);
    buildSoundCommands(title);
}

void TfrmMain::buildSoundCommands(QWidget* title)
{
    // The actions' captions are the pop-up menu's items; the buttons show only a sign.
    struct ListButton
    {
        QAction* MainWidgets::*action;
        const char* name;
        const char* button;
        const char* text;
        bool plus;
        int left;
    };
    for (const ListButton& b : {ListButton{&MainWidgets::ActAddSound, "ActAddSound", "btnAddSound",
                                           "Add Sound", true, 207},
                                ListButton{&MainWidgets::ActRemoveSound, "ActRemoveSound",
                                           "btnRemoveSound", "Remove Sound", false, 233}}) {
        auto* action = new QAction(signIcon(b.plus), QString::fromLatin1(b.text), this);
        action->setObjectName(QString::fromLatin1(b.name));
        action->setIconVisibleInMenu(false);
        m_ui.*b.action = action;
        auto* toolButton = new QToolButton(title);
        toolButton->setObjectName(QString::fromLatin1(b.button));
        toolButton->setDefaultAction(action);
        toolButton->setToolButtonStyle(Qt::ToolButtonIconOnly);
        toolButton->setAutoRaise(true);
        toolButton->setGeometry(b.left, 0, 25, 25);
    }

    QMenu* menu = new QMenu(this);
    menu->setObjectName(QStringLiteral("popAlarmSounds"));
    menu->addAction(m_ui.ActAddSound);
    menu->setDefaultAction(m_ui.ActAddSound);
    menu->addAction(m_ui.ActRemoveSound);
    menu->addSeparator();
    struct CheckCommand
    {
        QAction* MainWidgets::*action;
        const char* name;
        const char* caption;
        const char* hint;
    };
    for (const CheckCommand& c :
         {CheckCommand{&MainWidgets::ActChkLbAlarmSndChecktAll, "ActChkLbAlarmSndChecktAll",
                       "Check All", "Check all"},
          CheckCommand{&MainWidgets::ActChkLbAlarmSndCheckInverse, "ActChkLbAlarmSndCheckInverse",
                       "Check Inverse", "Check inverse"},
          CheckCommand{&MainWidgets::ActChkLbAlarmSndUnCheckAll, "ActChkLbAlarmSndUnCheckAll",
                       "Uncheck All", "Uncheck all"}}) {
        auto* action = new QAction(QString::fromLatin1(c.caption), this);
        action->setObjectName(QString::fromLatin1(c.name));
        action->setToolTip(QString::fromLatin1(c.hint));
        m_ui.*c.action = action;
        menu->addAction(action);
    }
    m_ui.popAlarmSounds = menu;
    SoundCheckList* list = m_ui.chklbSounds;
    list->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(list, &QWidget::customContextMenuRequested, menu,
            [list, menu](QPoint at) { menu->popup(list->viewport()->mapToGlobal(at)); });
}

void TfrmMain::buildFooter(QWidget* client)
{
    QFrame* footer = panel(client, "pnlFooter", QRect(0, 569, ClientWidth, 25), Colours::LampOff);
    m_ui.btnExit =
        button(footer, "btnExit", QStringLiteral("Exit"), QRect(ClientWidth - 59 - 6, 2, 59, 22));
    connect(m_ui.btnExit, &QPushButton::clicked, this, &QWidget::close);
}

void TfrmMain::setUpSystemVolumePanel(WinVersionClass versionClass)
{
    if (versionClass == WinVersionClass::Newer) {
        m_ui.lblSystemVolume->setText(QStringLiteral("If your system allows microphone boosting,\r\n"
                                                     "you can achieve better alarm sensitivity."));
        m_ui.btnSysVolumeControl->move(351, 18);
        m_ui.btnSysRecordingControl->hide();
        return;
    }
    // The doubled and tripled blanks are the text's own.
    m_ui.lblSystemVolume->setText(
        QStringLiteral("Set the microphone as  Recording device by selecting microphone\r\n"
                       "in Recording control.  If your system allows  microphone advanced\r\n"
                       "settings,   you  can  boost  it  to  achieve   better  alarm   sensitivity.\r\n"
                       "Reduce feedback by muting the microphone in the Volume Control."));
    m_ui.btnSysVolumeControl->move(351, 6);
    m_ui.btnSysRecordingControl->show();
}
