#include "LedLamp.h"

#include "core/Colours.h"

#include <QPainter>

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
    painter.setBrush(QColor(Colours::toArgb(m_colour)));
    painter.drawEllipse(QRectF(0.5, 0.5, 10, 10));
}
