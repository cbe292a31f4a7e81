// The main window's protection: the options dialog and the PIN prompt the PIN gate drives.
#include "fmMain.h"

#include "MainLogic.h"
#include "alarm/AlarmController.h"
#include "fmPinPrompt.h"
#include "fmProtection.h"

void TfrmMain::connectProtection()
{
    MainLogic& logic = *m_logic;
    connect(m_ui.mnuProtection, &QAction::triggered, this,
            [this, &logic] { TfrmProtection::ShowProtection(logic, this); });
}

void TfrmMain::openPinPrompt()
{
    if (!m_pinPrompt) {
        m_pinPrompt = new TfrmPinPrompt(this);
        PinGate& gate = m_logic->controller().pinGate();
        connect(m_pinPrompt, &TfrmPinPrompt::pinEntered, &gate, &PinGate::submit);
        connect(m_pinPrompt, &TfrmPinPrompt::cancelled, &gate, &PinGate::cancel);
    }
    m_pinPrompt->show();
    m_pinPrompt->raise();
    m_pinPrompt->activateWindow();
}

void TfrmMain::closePinPrompt()
{
    if (m_pinPrompt)
        m_pinPrompt->accept();
}

void TfrmMain::showWrongPin()
{
    if (m_pinPrompt)
        m_pinPrompt->showWrongPin();
}

void TfrmMain::showPinWait(int seconds)
{
    if (m_pinPrompt)
        m_pinPrompt->showWait(seconds);
}

bool TfrmMain::pinPromptHasFocus() const
{
    return m_pinPrompt && m_pinPrompt->isVisible() && m_pinPrompt->isActiveWindow();
}
