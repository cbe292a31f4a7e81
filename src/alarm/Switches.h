#pragma once

#include <QString>
#include <array>

class SettingsStore;

/// The switches of the main window, held as the Tag of their actions: 1 = on, 0 = off. The
/// keyboard's is an item of the "Options" menu; the others have their buttons in the header.
enum class Switch { ActActivateToggle, ActMicDetectToggle, ActMouDetectToggle, ActSimToggle, ActKeyDetectToggle };

class Switches
{
public:
    int Tag(Switch s) const { return m_tags[index(s)]; }
    bool isOn(Switch s) const { return Tag(s) == 1; }
    void setTag(Switch s, int tag) { m_tags[index(s)] = tag; }
    /// Turns the switch over and returns its new state.
    bool toggle(Switch s);

    /// The action's object name.
    static QString actionName(Switch s);
    /// The value under StateKey that persists the switch ("Alarm Active" for the armed switch).
    static QString valueName(Switch s);

    /// Sets every switch whose stored value is non-empty.
    void readFrom(SettingsStore& store);
    /// Stores "T" for a switch that is on and deletes the value of one that is off.
    void writeTo(SettingsStore& store, Switch s) const;

private:
    static std::size_t index(Switch s) { return static_cast<std::size_t>(s); }
    std::array<int, 5> m_tags{};
};
