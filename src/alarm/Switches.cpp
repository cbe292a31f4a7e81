#include "Switches.h"
#include "SwitchView.h"

#include "settings/gRegistry.h"

bool Switches::toggle(Switch s)
{
    setTag(s, Tag(s) == 0 ? 1 : 0);
    return isOn(s);
}

QString Switches::actionName(Switch s)
{
    switch (s) {
    case Switch::ActActivateToggle:
        return QStringLiteral("ActActivateToggle");
    case Switch::ActMicDetectToggle:
        return QStringLiteral("ActMicDetectToggle");
    case Switch::ActMouDetectToggle:
        return QStringLiteral("ActMouDetectToggle");
    case Switch::ActSimToggle:
        return QStringLiteral("ActSimToggle");
    case Switch::ActKeyDetectToggle:
        return QStringLiteral("ActKeyDetectToggle");
    }
    return {};
}

QString Switches::valueName(Switch s)
{
    return s == Switch::ActActivateToggle ? QStringLiteral("Alarm Active") : actionName(s);
}

void Switches::readFrom(SettingsStore& store)
{
    for (Switch s : {Switch::ActActivateToggle, Switch::ActMicDetectToggle,
                     Switch::ActMouDetectToggle, Switch::ActSimToggle, Switch::ActKeyDetectToggle}) {
        if (!store.ReadSetting(gRegistry::StateKey, valueName(s)).isEmpty())
            setTag(s, 1);
    }
}

void Switches::writeTo(SettingsStore& store, Switch s) const
{
    if (isOn(s))
        store.WriteSetting(gRegistry::StateKey, valueName(s), QStringLiteral("T"));
    else
        store.DeleteSetting(gRegistry::StateKey, valueName(s));
}

void SwitchView::drawSwitch(Switch s)
{
    switch (s) {
    case Switch::ActMicDetectToggle:
        return DrawMicDetectBtnState();
    case Switch::ActMouDetectToggle:
        return DrawMouDetectBtnState();
    case Switch::ActSimToggle:
        return DrawSimBtnState();
    case Switch::ActActivateToggle:
        return DrawActivateBtnState();
    case Switch::ActKeyDetectToggle:
        return DrawKeyDetectBtnState();
    }
}

bool TurnOverSwitch(Switches& switches, Switch s, SwitchView& view)
{
    const bool on = switches.toggle(s);
    view.drawSwitch(s);
    view.KeyState();
    return on;
}
