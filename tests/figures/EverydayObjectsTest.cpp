// The everyday objects: the vernier reads as its arithmetic says, the ticker tape's gaps grow by
// equal steps in the drag's direction, and the escalator has the number of steps asked for,
// rising in the drag's direction.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numeric>
#include <vector>

#include "figures/Canvas.h"
#include "figures/FigureDrag.h"
#include "figures/FigureProbes.h"
#include "figures/ToolId.h"

using namespace figtest;

namespace {

// The strokes crossing row y, split by how far their ink reaches on in direction dy: scale lines
// (at most `longest` pixels) and the longer edges of the parts.
struct Strokes {
  std::vector<double> lines, edges;
};
Strokes StrokesAt(const Canvas& c, int y, int dy, int longest) {
  Strokes s;
  for (const InkRun& r : RunsAlong(c, y, true))
    (ReachFrom(c, static_cast<int>(std::lround(r.Centre())), y, dy) <= longest ? s.lines : s.edges)
        .push_back(r.Centre());
  return s;
}

TEST(VernierCaliper, TheKthVernierLineLiesKTimesNMinusOneOverNMillimetresFromItsZero) {
  for (int n : {10, 20, 50}) {
    SCOPED_TRACE(n);
    Canvas c(1000, 300);  // a caliper 960 x 260, within its own shape range
    Draw(c, ToolNumber(ToolId::VernierCaliper), 20, 20, 980, 280, Params(n));
    // The main lines end on the scale line from above, the vernier's start below it: the row just
    // above it crosses the most strokes. Lines are shorter than a sixth of the caliper.
    int most = 0, above = 0;
    for (int y = 0; y < c.Height(); ++y)
      if (const int k = static_cast<int>(RunsAlong(c, y, true).size()); k >= most) most = k, above = y;
    const std::vector<double> mainLines = StrokesAt(c, above, -1, 260 / 6).lines;
    const Strokes below = StrokesAt(c, above + 2, 1, 260 / 6);
    ASSERT_GE(below.edges.size(), 2u);
    // The vernier's lines: between the slider's ends, the last two edges.
    std::vector<double> vernier;
    for (double x : below.lines)
      if (x > below.edges.end()[-2] && x < below.edges.back()) vernier.push_back(x);
    ASSERT_EQ(vernier.size(), static_cast<size_t>(n + 1));
    ASSERT_GE(mainLines.size(), static_cast<size_t>(n + 1));
    // Positions read on the main scale itself, in millimetres between its two lines around them
    // (numbered by the usual gap, so that a line hidden in an edge only widens the interval).
    std::vector<double> gaps(mainLines.size());
    std::adjacent_difference(mainLines.begin(), mainLines.end(), gaps.begin());
    std::nth_element(gaps.begin() + 1, gaps.begin() + gaps.size() / 2, gaps.end());
    const double mm = gaps[gaps.size() / 2];
    auto onMainScale = [&](double x) {
      const size_t after = std::upper_bound(mainLines.begin(), mainLines.end(), x) - mainLines.begin();
      const size_t i = std::clamp<size_t>(after, 1, mainLines.size() - 1);
      const double a = std::round((mainLines[i - 1] - mainLines[0]) / mm);
      const double b = std::round((mainLines[i] - mainLines[0]) / mm);
      return a + (x - mainLines[i - 1]) / (mainLines[i] - mainLines[i - 1]) * (b - a);
    };
    for (int k = 0; k <= n; ++k)
      EXPECT_NEAR(onMainScale(vernier[k]) - onMainScale(vernier[0]), k * (n - 1.0) / n, 1.5 / mm)
          << "line " << k;
  }
}

struct TapeCase {
  double x1, y1, x2, y2;
  int dots;
  bool across;  // the tape lies across (along a row) rather than upright
  int growsTo;  // +1: the gaps grow to the right (downwards), -1: to the left (upwards)
};

TEST(TickerTape, GapsGrowByEqualStepsInTheDragsDirection) {
  const TapeCase cases[] = {
      {50, 280, 550, 320, 6, true, 1},  {550, 280, 50, 320, 6, true, -1},  {50, 320, 550, 280, 12, true, 1},
      {280, 50, 320, 550, 6, false, 1}, {320, 550, 280, 50, 8, false, -1},
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
