#pragma once
#include <QImage>
#include <QSize>
#include <cstdint>

// Rotation of the floating selection about its centre, always from the unrotated selection (the
// rotation base) so that repeated small steps do not blur the picture.

// Side of the square that holds the selection at any angle: its diagonal sqrt(w^2 + h^2),
// rounded to the nearest whole pixel, halves to even.
int RotationSide(int w, int h);

// Renders `base` turned by `angleDegrees` (positive turns clockwise on screen) into `buffer`,
// which becomes an S x S white square (S = RotationSide of the base; its buffer is reused when it
// already has that size). Each pixel of the square takes the base pixel it maps back onto, by
// nearest neighbour with the angle's radians taken as degrees x 3.1416 / 180; pixels that map
// outside the base stay white. At angle 0 the base comes back whole, with no white border.
void RenderRotation(const QImage& base, double angleDegrees, QImage& buffer);

// The companion of a rotation: `baseK` is the base at k times its 1x size `base`, and `buffer`
// becomes a white square of side k x `side` (side: the 1x square's). Companion pixel (I, J) stands
// at the 1x place ((I - (k - 1) / 2) / k, ...) of the square and takes the companion pixel of the
// base at the 1x source place the same turn maps it back onto, nearest.
void RenderRotationAt(const QImage& baseK, QSize base, double angleDegrees, int k, int side, QImage& buffer);

// The nearest whole number of a 32.32 fixed-point value v given as v + 1/2 (the form the rotation
// steps in): the whole part of v + 1/2, except that a tie (v exactly halfway) goes to the even
// neighbour.
inline int64_t NearestOfHalfUp(int64_t up) {
  int64_t whole = up >> 32;
  if (static_cast<uint32_t>(up) == 0) whole &= ~int64_t{1};
  return whole;
}
// The same for v itself: the rounding of the sample positions.
inline int64_t RoundFixedHalfEven(int64_t fixed) { return NearestOfHalfUp(fixed + (int64_t{1} << 31)); }
