#pragma once
#include <QtGlobal>

// Transparency in a picture file is shown as the program shows everything else: over white paper.
// Alpha is straight (not premultiplied); each channel becomes round((c × a + 255 × (255 − a)) / 255),
// in exact integer arithmetic (255 is odd, so there are no ties to break).

inline quint32 ChannelOverWhite(quint32 c, quint32 a) { return (c * a + 255 * (255 - a) + 127) / 255; }

// An opaque 0xFFRRGGBB pixel from 8-bit straight red, green, blue and alpha.
inline quint32 PixelOverWhite(quint32 r, quint32 g, quint32 b, quint32 a) {
  if (a == 255) return 0xFF000000u | (r << 16) | (g << 8) | b;
  return 0xFF000000u | (ChannelOverWhite(r, a) << 16) | (ChannelOverWhite(g, a) << 8) |
         ChannelOverWhite(b, a);
}

// The same for a 0xAARRGGBB pixel.
inline quint32 ArgbOverWhite(quint32 argb) {
  return PixelOverWhite((argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF, argb >> 24);
}
