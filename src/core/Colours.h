#pragma once

#include <cstdint>

// Colours as 0x00BBGGRR values, the form the lamps and bars are described in.
namespace Colours {
inline constexpr std::uint32_t LampOff = 9199360;      // also the blue of header and footer bars
inline constexpr std::uint32_t LampDetection = 255;    // red
inline constexpr std::uint32_t LampDelayFlash = 56797; // yellow
inline constexpr std::uint32_t PanelDark = 12425853;
inline constexpr std::uint32_t PanelLight = 14073773;
inline constexpr std::uint32_t TitleText = 16776697;
inline constexpr std::uint32_t GreetingBar = 3148479; // dark red: the about and greeting windows' bars

/// A 0x00BBGGRR value as an opaque 0xAARRGGBB value, the form QColor takes.
constexpr std::uint32_t toArgb(std::uint32_t bgr)
{
    return 0xFF000000u | (bgr & 0xFFu) << 16 | (bgr & 0xFF00u) | (bgr >> 16 & 0xFFu);
}
} // namespace Colours
