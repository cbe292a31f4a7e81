#pragma once

#include <cstdint>

// Colours as 0x00BBGGRR values, the form the lamps and bars are described in.
namespace Colours {
inline constexpr std::uint32_t LampOff = 9199360;    // also the blue of header and footer bars
inline constexpr std::uint32_t LampDetection = 255;  // red
inline constexpr std::uint32_t LampDelayFlash = 56797; // yellow
inline constexpr std::uint32_t PanelDark = 12425853;
inline constexpr std::uint32_t PanelLight = 14073773;
inline constexpr std::uint32_t TitleText = 16776697;
} // namespace Colours
