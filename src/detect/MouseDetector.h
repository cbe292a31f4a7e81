#pragma once

#include <QObject>

class SettingsStore;
class Switches;
class SwitchView;

/// The mouse switch and the watch over the desktop's pointer that it turns on and off.
class MouseDetector : public QObject
{
    Q_OBJECT
public:
    MouseDetector(Switches& switches, SwitchView& view, SettingsStore& store,
                  QObject* parent = nullptr);

    /// The on/off toggle of btnMouDetect; the switch's value is stored.
    void ActMouDetectToggleExecute();
    /// At the main window's first activation: a switched-on detector watches again.
    void resume();
    void StartMouseHook();
    void StopMouseHook();

signals:
    /// The watch over the pointer starts (true) or stops (false).
    void mouseHookChanged(bool active);

private:
    Switches& m_switches;
    SwitchView& m_view;
    SettingsStore& m_store;
};
