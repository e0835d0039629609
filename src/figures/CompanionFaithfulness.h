#pragma once
#include <QImage>
#include <QString>

#include <cstdint>

// The rule that keeps the high-resolution companion honest: reduced by k (each k x k block taking
// the colour that covers more than half of it, else "mixed"), it agrees with the picture within one
// pixel both ways. The program checks a companion read from a file by it, and the tests and the
// soak check every companion the canvas makes by it.

// The colour covering more than half of the block (bx, by) of `companion` (opaque), or 0 when no
// colour does (a mixed block).
uint32_t CompanionBlockColour(const QImage& companion, int k, int bx, int by);

// Empty when `companion` is faithful to `picture` at scale k; else what first disagrees, for a
// test's message. With `exact` every block must be exactly its pixel's colour. A null companion
// at k < 2 is faithful (there is none to disagree).
QString CompanionDisagreement(const QImage& picture, const QImage& companion, int k, bool exact = false);

inline bool CompanionFaithful(const QImage& picture, const QImage& companion, int k) {
  return CompanionDisagreement(picture, companion, k).isEmpty();
}
