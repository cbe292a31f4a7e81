#include "WindowBars.h"

#include "core/Colours.h"

#include <QDialog>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

namespace {
QFrame* bar(QWidget* window, const char* name, int top, std::uint32_t bgr)
{
    auto* frame = new QFrame(window);
    frame->setObjectName(QString::fromLatin1(name));
    frame->setGeometry(0, top, window->width(), WindowBarHeight);
    frame->setAutoFillBackground(true);
    QPalette palette = frame->palette();
    palette.setColor(QPalette::Window, QColor(Colours::toArgb(bgr)));
    frame->setPalette(palette);
    return frame;
}
} // namespace

void SetUpWhiteWindow(QWidget* window, int width, int height)
{
    window->setFixedSize(width, height);
    window->setAutoFillBackground(true);
    QPalette palette = window->palette();
    palette.setColor(QPalette::Window, Qt::white);
    window->setPalette(palette);
}

EscapeKey EscapeKeyIn(QWidget* window, QObject* watched, QEvent* event)
{
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || widget->window() != window ||
        (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease))
        return EscapeKey::Other;
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() != Qt::Key_Escape)
        return EscapeKey::Other;
    if (event->type() == QEvent::KeyPress)
        return EscapeKey::Pressed;
    return key->isAutoRepeat() ? EscapeKey::Pressed : EscapeKey::Released;
}

bool CancelKeys(QDialog* dialog, QObject* watched, QEvent* event)
{
    switch (EscapeKeyIn(dialog, watched, event)) {
    case EscapeKey::Pressed: return true;
    case EscapeKey::Released: dialog->reject(); return true;
    case EscapeKey::Other: break;
    }
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || widget->window() != dialog || event->type() != QEvent::KeyPress)
        return false;
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key != Qt::Key_Return && key != Qt::Key_Enter)
        return false;
    dialog->reject();
    return true;
}

void CentreOnScreen(QWidget* window)
{
    window->move(window->screen()->availableGeometry().center() - window->rect().center());
}

QLabel* AddTitleBar(QWidget* window, const QString& caption, const char* captionName, std::uint32_t bgr)
{
    QFrame* title = bar(window, "Panel1", 0, bgr);
    auto* label = new QLabel(caption, title);
    label->setObjectName(QString::fromLatin1(captionName));
    label->setGeometry(8, 0, window->width() - 16, WindowBarHeight);
    QFont font = label->font();
    font.setPixelSize(16);
    label->setFont(font);
    label->setStyleSheet(QStringLiteral("color: %1; background: transparent")
                             .arg(QColor(Colours::toArgb(Colours::TitleText)).name()));
    return label;
}

QPushButton* AddFooterButton(QWidget* window, const char* buttonName, const QString& caption, std::uint32_t bgr)
{
    QFrame* footer = bar(window, "Panel2", window->height() - WindowBarHeight, bgr);
    auto* button = new QPushButton(caption, footer);
    button->setObjectName(QString::fromLatin1(buttonName));
    button->setGeometry(window->width() - 59 - 4, 2, 59, 22);
    button->setAutoDefault(false);
    return button;
}
