#include "LedLamp.h"

#include "Colours.h"

#include <QPainter>

QColor fromBgr(std::uint32_t bgr)
{
    return QColor(int(bgr & 0xff), int((bgr >> 8) & 0xff), int((bgr >> 16) & 0xff));
}

LedLamp::LedLamp(QWidget* parent) : QWidget(parent), m_colour(Colours::LampOff)
{
    setFixedSize(11, 11);
}

void LedLamp::setColour(std::uint32_t bgr)
{
    if (bgr == m_colour)
        return;
    m_colour = bgr;
    update();
}

void LedLamp::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(fromBgr(m_colour));
    painter.drawEllipse(QRectF(0.5, 0.5, 10, 10));
}
