#pragma once

#include "core/MessageBoxes.h"

class QWidget;

/// Message boxes on screen, owned by the given window (or by none).
class QtMessageBoxes : public MessageBoxes
{
public:
    explicit QtMessageBoxes(QWidget* owner = nullptr) : m_owner(owner) {}
    void setOwner(QWidget* owner) { m_owner = owner; }

    void message(const QString& text) override;
    void error(const QString& text) override;
    void warning(const QString& text) override;
    bool question(const QString& text) override;

private:
    QWidget* m_owner;
};
