#pragma once
#include <QRgb>

// The colours the tests draw with and look for, as opaque 32-bit pixels.
inline constexpr QRgb kWhite = 0xFFFFFFFFu;
inline constexpr QRgb kBlack = 0xFF000000u;
inline constexpr QRgb kRed = 0xFFFF0000u;
inline constexpr QRgb kGreen = 0xFF00FF00u;
inline constexpr QRgb kBlue = 0xFF0000FFu;
