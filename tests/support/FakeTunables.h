#pragma once

#include "settings/Tunables.h"

#include <map>

/// Tunable values as plain numbers, starting at their defaults; set() stands for the user
/// moving a control (or typing into a spin box, out of range included).
class FakeTunables : public TunableValues
{
public:
    FakeTunables()
    {
        for (const TunableDefinition& d : TunableDefinitions())
            m_values[d.id] = d.defaultValue;
    }
    int value(Tunable id) const override { return m_values.at(id); }
    void set(Tunable id, int value) { m_values[id] = value; }

private:
    std::map<Tunable, int> m_values;
};
