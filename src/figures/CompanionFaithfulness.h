#pragma once
#include <QImage>
#include <QString>

#include <cstdint>

// The rule that keeps the high-resolution companion honest: it agrees with the picture within one
// pixel both ways. Every coloured picture pixel has, within one pixel, a block (k x k companion
// pixels) holding at least a quarter of its colour, so that a thin stroke straddling two blocks
// supports its pixel; every block that one colour other than white covers more than half of has,
// within one pixel, a picture pixel of that colour. The program checks a companion read from a
// file by it, the reconciling puts right what breaks it (CompanionRule.h holds the rule for one
// pixel, which both ask), and the tests and the soak check every companion the canvas makes by it.

// The colour covering more than half of the block (bx, by) of `companion` (a 32-bit image), made
// opaque, or 0 when no colour does (a mixed block).
uint32_t CompanionBlockColour(const QImage& companion, int k, int bx, int by);

// Empty when `companion` is faithful to `picture` at scale k; else what first disagrees, for a
// test's message. With `exact` every block must be exactly its pixel's colour. A null companion
// at k < 2 is faithful (there is none to disagree).
QString CompanionDisagreement(const QImage& picture, const QImage& companion, int k, bool exact = false);

inline bool CompanionFaithful(const QImage& picture, const QImage& companion, int k) {
  return CompanionDisagreement(picture, companion, k).isEmpty();
}
