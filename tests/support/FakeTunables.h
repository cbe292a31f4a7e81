#pragma once

#include "settings/Tunables.h"

#include <map>

/// Tunable values held in a map; a value not set reads as its control's default.
class FakeTunables : public TunableValues
{
public:
    int value(Tunable id) const override
    {
        const auto it = values.find(id);
        return it == values.end() ? definitionOf(id).defaultValue : it->second;
    }

    std::map<Tunable, int> values;
};
