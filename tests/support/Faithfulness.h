#pragma once
// The companion's faithfulness rule, as the tests and the soak call it: the program's own
// (figures/CompanionFaithfulness.h), so that what the tests check is what the program relies on.
#include <QImage>
#include <QString>

#include "figures/CompanionFaithfulness.h"

namespace faithfulness {

// Empty when the companion is faithful to the picture; else what first disagrees. With `exact`
// every block must be exactly its pixel's colour.
inline QString Check(const QImage& picture, const QImage& companion, int k, bool exact = false) {
  return CompanionDisagreement(picture, companion, k, exact);
}

}  // namespace faithfulness
