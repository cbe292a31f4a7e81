#pragma once

#include <QString>

/// The program's modal messages, behind one interface so that logic tests can answer them.
class MessageBoxes
{
public:
    virtual ~MessageBoxes() = default;
    /// A plain message with the application title and an OK button.
    virtual void message(const QString& text) = 0;
    virtual void error(const QString& text) = 0;
    virtual void warning(const QString& text) = 0;
    /// A Yes/No question with Yes as the default; true for Yes.
    virtual bool question(const QString& text) = 0;
};
