// Colours as the layout stores them: red in bits 0-7, green 8-15, blue 16-23;
// a value with the top bit set names one of the user's system colours
// (its low byte is the system colour index). Platform-free.
#pragma once

#include <cstdint>

using TColor = std::int32_t;

inline constexpr TColor clSystemColor = static_cast<TColor>(0x80000000u);
inline constexpr TColor clBtnFace = static_cast<TColor>(0x8000000Fu);      // COLOR_BTNFACE
inline constexpr TColor clWindowText = static_cast<TColor>(0x80000008u);   // COLOR_WINDOWTEXT
inline constexpr TColor clWindow = static_cast<TColor>(0x80000005u);       // COLOR_WINDOW
inline constexpr TColor clHighlight = static_cast<TColor>(0x8000000Du);    // COLOR_HIGHLIGHT
inline constexpr TColor clHighlightText = static_cast<TColor>(0x8000000Eu); // COLOR_HIGHLIGHTTEXT
inline constexpr TColor clGrayText = static_cast<TColor>(0x80000011u);     // COLOR_GRAYTEXT
inline constexpr TColor clBtnText = static_cast<TColor>(0x80000012u);      // COLOR_BTNTEXT
inline constexpr TColor clBtnShadow = static_cast<TColor>(0x80000010u);    // COLOR_BTNSHADOW
inline constexpr TColor clBtnHighlight = static_cast<TColor>(0x80000014u); // COLOR_BTNHIGHLIGHT
inline constexpr TColor clInfoBk = static_cast<TColor>(0x80000018u);       // COLOR_INFOBK
inline constexpr TColor clInfoText = static_cast<TColor>(0x80000017u);     // COLOR_INFOTEXT
inline constexpr TColor clNone = 0x1FFFFFFF;
inline constexpr TColor clBlack = 0x00000000;
inline constexpr TColor clWhite = 0x00FFFFFF;
inline constexpr TColor clGray = 0x00808080;
inline constexpr TColor clNavy = 0x00800000;
inline constexpr TColor clRed = 0x000000FF;
inline constexpr TColor clOlive = 0x00008080;

// The red, green and blue bits of an explicit colour; the top byte is no part of it.
inline constexpr std::uint32_t kColorRgbBits = 0x00FFFFFFu;

inline constexpr bool IsSystemColor(TColor c)
{
    return (static_cast<std::uint32_t>(c) & static_cast<std::uint32_t>(clSystemColor)) != 0;
}
inline constexpr int SystemColorIndex(TColor c) { return static_cast<int>(static_cast<std::uint32_t>(c) & 0xFFu); }

// Named apart from the platform's GetRValue macros, which would expand here.
inline constexpr std::uint8_t ColorRed(TColor c) { return static_cast<std::uint8_t>(c & 0xFF); }
inline constexpr std::uint8_t ColorGreen(TColor c) { return static_cast<std::uint8_t>((c >> 8) & 0xFF); }
inline constexpr std::uint8_t ColorBlue(TColor c) { return static_cast<std::uint8_t>((c >> 16) & 0xFF); }
