#pragma once

#include "core/Random.h"

#include <QList>

/// Answers Random(n) from a script while it lasts, then from a seeded generator; records every n
/// it was asked for, so a test can check which draws were made in which order.
class ScriptedRandom : public RandomSource
{
public:
    int Random(int n) override
    {
        asked << n;
        if (script.isEmpty())
            return m_fallback.Random(n);
        const int scripted = script.takeFirst();
        return n <= 0 ? 0 : scripted;
    }

    QList<int> script;
    QList<int> asked;

private:
    SeededRandom m_fallback{20260307};
};
