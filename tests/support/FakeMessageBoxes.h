#pragma once

#include "core/MessageBoxes.h"

#include <QStringList>

/// Records every message and answers questions from a script (Yes when the script runs out).
class FakeMessageBoxes : public MessageBoxes
{
public:
    void message(const QString& text) override { shown << text; }
    void error(const QString& text) override { shown << text; }
    void warning(const QString& text) override { shown << text; }
    bool question(const QString& text) override
    {
        shown << text;
        return answers.isEmpty() ? true : answers.takeFirst();
    }

    QStringList shown;
    QList<bool> answers;
};
