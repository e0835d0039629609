// The everyday objects: the vernier reads as its arithmetic says, the ticker tape's gaps grow by
// equal steps in the drag's direction, and the escalator has the number of steps asked for,
// rising in the drag's direction.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "figures/Canvas.h"
#include "figures/FigureDrag.h"
#include "figures/FigureProbes.h"
#include "figures/ToolId.h"

using namespace figtest;

namespace {

// The runs along row y, each with how far its ink reaches on from the row in direction dy.
struct Stroke {
  double x;
  int reach;
};
std::vector<Stroke> StrokesFrom(const Canvas& c, int y, int dy) {
  std::vector<Stroke> out;
  for (const InkRun& r : RunsAlong(c, y, true))
    out.push_back({r.Centre(), ReachFrom(c, static_cast<int>(std::lround(r.Centre())), y, dy)});
  return out;
}

// The positions of the strokes no longer than `longest` between `from` and `to` (indices).
std::vector<double> ShortOnes(const std::vector<Stroke>& strokes, int longest, size_t from = 0,
                              size_t to = SIZE_MAX) {
  std::vector<double> out;
  for (size_t i = from; i < strokes.size() && i <= to; ++i)
    if (strokes[i].reach <= longest) out.push_back(strokes[i].x);
  return out;
}

TEST(VernierCaliper, TheKthVernierLineLiesKTimesNMinusOneOverNMillimetresFromItsZero) {
  for (int n : {10, 20, 50}) {
    SCOPED_TRACE(n);
    // A caliper 960 x 260 (its own shape range holds it whole).
    Canvas c(1000, 300);
    Draw(c, ToolNumber(ToolId::VernierCaliper), 20, 20, 980, 280, Params(n));
    // The scale line: the main lines end on it from above, the vernier's start below it. The row
    // just above it crosses the most lines.
    int most = 0, above = -1;
    for (int y = 0; y < c.Height(); ++y) {
      const int runs = static_cast<int>(RunsAlong(c, y, true).size());
      if (runs >= most) most = runs, above = y;
    }
    ASSERT_GT(above, 0);
    // Lines are shorter than a sixth of the caliper (260 px); edges of the parts are longer. The
    // vernier's lines lie between the slider's ends, the last two long strokes below the line.
    const int longest = 260 / 6;
    const std::vector<double> mainLines = ShortOnes(StrokesFrom(c, above, -1), longest);
    const std::vector<Stroke> below = StrokesFrom(c, above + 2, 1);
    std::vector<size_t> ends;
    for (size_t i = 0; i < below.size(); ++i)
      if (below[i].reach > longest) ends.push_back(i);
    ASSERT_GE(ends.size(), 2u);
    const std::vector<double> vernier = ShortOnes(below, longest, ends[ends.size() - 2], ends.back());
    ASSERT_GE(mainLines.size(), static_cast<size_t>(n + 1));
    ASSERT_EQ(vernier.size(), static_cast<size_t>(n + 1));
    // Read positions on the main scale itself: millimetres from its first line, between the two
    // lines around the position (a line hidden in a part's edge only widens the interval).
    std::vector<double> gaps;
    for (size_t i = 1; i < mainLines.size(); ++i) gaps.push_back(mainLines[i] - mainLines[i - 1]);
    std::nth_element(gaps.begin(), gaps.begin() + gaps.size() / 2, gaps.end());
    const double mm = gaps[gaps.size() / 2];
    auto onMainScale = [&](double x) {
      size_t i = 1;
      while (i + 1 < mainLines.size() && mainLines[i] < x) ++i;
      const double a = std::round((mainLines[i - 1] - mainLines[0]) / mm);
      const double b = std::round((mainLines[i] - mainLines[0]) / mm);
      return a + (x - mainLines[i - 1]) / (mainLines[i] - mainLines[i - 1]) * (b - a);
    };
    for (int k = 0; k <= n; ++k)
      EXPECT_NEAR(onMainScale(vernier[k]) - onMainScale(vernier[0]), k * (n - 1.0) / n, 1.5 / mm) << "line " << k;
  }
}

struct TapeCase {
  double x1, y1, x2, y2;
  int dots;
  bool across;   // the tape lies across (along a row) rather than upright
  int growsTo;   // +1: the gaps grow to the right (downwards), -1: to the left (upwards)
};

TEST(TickerTape, GapsGrowByEqualStepsInTheDragsDirection) {
  const TapeCase cases[] = {
      {50, 280, 550, 320, 6, true, 1},    {550, 280, 50, 320, 6, true, -1},  {50, 320, 550, 280, 12, true, 1},
      {280, 50, 320, 550, 6, false, 1},   {320, 550, 280, 50, 8, false, -1},
  };
  for (const TapeCase& t : cases) {
    SCOPED_TRACE(testing::Message() << t.x1 << "," << t.y1 << " -> " << t.x2 << "," << t.y2);
    Canvas c(600, 600);
    Draw(c, ToolNumber(ToolId::TickerTape), t.x1, t.y1, t.x2, t.y2, Params(t.dots));
    // Along the tape's middle line: its two ends, and the dots between them.
    const std::vector<InkRun> runs = RunsAlong(c, 300, t.across);
    ASSERT_EQ(runs.size(), static_cast<size_t>(t.dots + 2));
    std::vector<double> gaps;
    for (size_t i = 2; i + 1 < runs.size(); ++i) gaps.push_back(runs[i].Centre() - runs[i - 1].Centre());
    if (t.growsTo < 0) std::reverse(gaps.begin(), gaps.end());
    const double step = (gaps.back() - gaps.front()) / (gaps.size() - 1);
    EXPECT_GT(step, 2.0);
    for (size_t i = 1; i < gaps.size(); ++i) EXPECT_NEAR(gaps[i] - gaps[i - 1], step, 1.5) << "gap " << i;
  }
}

TEST(Escalator, HasTheStepsAskedForRisingInTheDragsDirection) {
  for (int n : {1, 6, 15}) {
    for (bool rightward : {true, false}) {
      SCOPED_TRACE(testing::Message() << n << (rightward ? " rightward" : " leftward"));
      Canvas c(400, 300);
      Draw(c, ToolNumber(ToolId::Escalator), rightward ? 20 : 380, 30, rightward ? 380 : 20, 270, Params(n));
      // Up each column from the bottom: the truss's underside, then the tread above it.
      std::vector<int> treads;
      for (int x = 0; x < c.Width(); ++x) {
        const std::vector<InkRun> runs = RunsAlong(c, x, false);
        if (runs.size() < 2) continue;
        const int tread = runs[runs.size() - 2].last;
        if (treads.empty() || treads.back() != tread) treads.push_back(tread);
      }
      ASSERT_EQ(treads.size(), static_cast<size_t>(n));
      if (!rightward) std::reverse(treads.begin(), treads.end());
      EXPECT_TRUE(std::is_sorted(treads.rbegin(), treads.rend())) << "the steps rise in the drag's direction";
    }
  }
}

}  // namespace
