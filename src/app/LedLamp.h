#pragma once

#include <QWidget>
#include <cstdint>

/// An indicator lamp: an 11 x 11 circle with a 1-pixel black outline, filled with its colour.
class LedLamp : public QWidget
{
    Q_OBJECT
public:
    explicit LedLamp(QWidget* parent = nullptr);

    std::uint32_t colour() const { return m_colour; }
    void setColour(std::uint32_t bgr);

protected:
    void paintEvent(QPaintEvent*) override;

private:
    std::uint32_t m_colour;
};
