#pragma once

#include "MainView.h"
#include "MainWidgets.h"

#include <QMainWindow>
#include <QPointer>

class MainLogic;
class TfrmPinPrompt;

/// The main window: its widgets, shown as its logic says, and the user's actions handed to the
/// logic's objects. It decides nothing itself.
class TfrmMain : public QMainWindow, public MainView
{
    Q_OBJECT
public:
    explicit TfrmMain(QWidget* parent = nullptr);
    ~TfrmMain() override;

    /// Wires the widgets to the logic, then runs the logic's part of the creation. False when
    /// the audio devices could not start: the window must not be shown.
    bool create(MainLogic& logic);

    /// A second start of the program asks the running one to come back into view.
    void restoreApp();

    int value(Tunable id) const override;
    void setValue(Tunable id, int value) override;
    void setDetectionGauge(int value) override;
    void setDurationGauge(int value) override;
    void showInputs(const QStringList& names, int selected) override;
    std::uint32_t lampColour(Lamp lamp) const override;
    void setLampColour(Lamp lamp, std::uint32_t bgr) override;
    void drawSwitch(Switch s, int tag) override;
    void showKeyboardDetection(bool on) override;
    void applyControlStates(const ControlStates& states) override;
    void setUpSystemVolumePanel(WinVersionClass versionClass) override;
    void openPinPrompt() override;
    bool pinPromptHasFocus() const override;
    void closePinPrompt() override;
    void showWrongPin() override;
    void showPinWait(int seconds) override;

signals:
    /// Every key released anywhere in the window, before the focused control sees it.
    void keyReleased(int key);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildLayout();
    void buildHeader(QWidget* client);
    void buildSwitchButtons(QWidget* header);
    void buildLeftColumn(QWidget* client);
    void buildRightColumn(QWidget* client);
    void buildSoundCommands(QWidget* title);
    void buildFooter(QWidget* client);
    void buildMenus();
    void addTunable(QWidget* panel, Tunable id, int top);

    void connectSwitches();
    void connectTunables();
    void connectSoundList();
    void connectSpeakerTest();
    void connectLinks();
    void connectProtection();

    MainWidgets m_ui;
    QPointer<MainLogic> m_logic; // gone first when the program ends
    QPointer<TfrmPinPrompt> m_pinPrompt;
};
