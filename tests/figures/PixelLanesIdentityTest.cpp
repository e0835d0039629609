// The vector and the plain paths of the pixel loops (figures/PixelLanes.h) give the same pictures
// and companions. One build cannot hold both paths, so two builds compare notes: every figure of
// the tool table is drawn, drawn over after a restore and filled, at each companion scale, on a
// picture whose sides are no multiple of the loops' widths, and each result's digest is noted.
//   QM_LANE_DIGESTS_WRITE=FILE     writes the digests of this build to FILE;
//   QM_LANE_DIGESTS_COMPARE=FILE   compares this build's with FILE (written by a build of another
//                                  path) and names every case that differs.
// scripts/test.sh writes them in the usual build and compares in a QUILLMERE_PORTABLE one.
#include <gtest/gtest.h>

#include <QCryptographicHash>
#include <QFile>
#include <QImage>
#include <QTextStream>
#include <map>
#include <string>

#include "figures/Canvas.h"
#include "figures/DrawFigure.h"
#include "figures/PixelLanes.h"
#include "figures/ToolTable.h"
#include "workspace/ToolCatalogue.h"

namespace {

constexpr QRgb kPen = 0xFFC00000u, kFill = 0xFF0000C0u, kOver = 0xFF00A000u, kWhite = 0xFFFFFFFFu;

void AddImage(QCryptographicHash& hash, const QImage& image) {
  hash.addData(QByteArray::number(image.width()) + 'x' + QByteArray::number(image.height()));
  const qsizetype rowBytes = qsizetype(image.width()) * image.depth() / 8;
  for (int y = 0; y < image.height(); ++y)
    hash.addData(QByteArrayView(reinterpret_cast<const char*>(image.constScanLine(y)), rowBytes));
}

void Draw(Canvas& c, int tool, QLineF d) {
  DragGeometry g;
  g.PressPoint = {d.x1(), d.y1()};
  g.CurrentPoint = {d.x2(), d.y2()};
  g.DragOffset = {d.x2() - d.x1(), d.y2() - d.y1()};
  DrawFigure(c, g, tool, DefaultParameters(tool));
}

// Case name -> digest of the picture and the companion after each step.
std::map<std::string, std::string> Digests() {
  std::map<std::string, std::string> digests;
  int n = 0;
  for (const ToolFigure& f : FiguresWithRoutines()) {
    const int tool = ToolNumber(f.id);
    for (int k = 2; k <= 4; ++k, ++n) {
      Canvas c(203, 157);
      if (!c.SetCompanion(k)) continue;
      QCryptographicHash hash(QCryptographicHash::Sha256);
      auto note = [&] {
        c.CommitCompanion();
        AddImage(hash, c.Raster());
        AddImage(hash, c.Companion());
      };
      c.ForeColor = kPen, c.FillColor = kFill;
      c.DrawWidth = 1 + n % 3, c.DrawStyle = n % 4, c.FillStyle = n % 8;
      Draw(c, tool, {30, 20, 171, 141});
      note();
      // Over the first figure after a restore, in white or in another colour.
      PicturePair backing;
      c.CopyInto(backing);
      c.Restore(backing);
      c.ForeColor = n % 2 ? kWhite : kOver, c.FillColor = kOver, c.DrawWidth = 1 + (n + 1) % 3;
      Draw(c, tool, {45, 35, 160, 126});
      note();
      // Fills: the region at the middle, by its colour; the outside, up to the pen's colour.
      c.FillStyle = n % 2 ? 0 : 2 + n % 6, c.FillColor = kFill;
      c.ExtFloodFill(100, 80, c.GetPixel(100, 80), 1);
      c.FillStyle = 6, c.FillColor = kOver;
      c.ExtFloodFill(201, 155, kPen, 0);
      note();
      digests["tool " + std::to_string(tool) + " k=" + std::to_string(k)] = hash.result().toHex().toStdString();
    }
  }
  return digests;
}

TEST(PixelLanes, PicturesAndCompanionsAreTheOtherPathsOnes) {
  const QByteArray writeTo = qgetenv("QM_LANE_DIGESTS_WRITE"), compareWith = qgetenv("QM_LANE_DIGESTS_COMPARE");
  if (writeTo.isEmpty() && compareWith.isEmpty())
    GTEST_SKIP() << "compares two builds: set QM_LANE_DIGESTS_WRITE or QM_LANE_DIGESTS_COMPARE (scripts/test.sh does)";
  const std::map<std::string, std::string> ours = Digests();
  ASSERT_GT(ours.size(), 100u) << "the tool table draws fewer figures than expected";
  if (!writeTo.isEmpty()) {
    QFile out(QString::fromLocal8Bit(writeTo));
    ASSERT_TRUE(out.open(QIODevice::WriteOnly | QIODevice::Truncate)) << writeTo.toStdString();
    QTextStream s(&out);
    s << "path " << PixelLanesPath() << '\n';
    for (const auto& [name, digest] : ours) s << QString::fromStdString(name) << '\t' << QString::fromStdString(digest) << '\n';
  }
  if (compareWith.isEmpty()) return;
  QFile in(QString::fromLocal8Bit(compareWith));
  ASSERT_TRUE(in.open(QIODevice::ReadOnly)) << compareWith.toStdString() << ": not readable";
  QTextStream s(&in);
  const QString header = s.readLine();
  ASSERT_TRUE(header.startsWith("path ")) << compareWith.toStdString() << ": not a digest file";
  const QString theirPath = header.mid(5);
  EXPECT_NE(theirPath.toStdString(), std::string(PixelLanesPath())) << "both builds took the same path: nothing compared";
  std::map<std::string, std::string> theirs;
  while (!s.atEnd()) {
    const QStringList fields = s.readLine().split('\t');
    if (fields.size() == 2) theirs[fields[0].toStdString()] = fields[1].toStdString();
  }
  EXPECT_EQ(theirs.size(), ours.size()) << "the two builds drew different sets of cases";
  int differing = 0;
  for (const auto& [name, digest] : ours) {
    const auto it = theirs.find(name);
    if (it == theirs.end() || it->second == digest) continue;
    if (++differing <= 20)
      ADD_FAILURE() << name << ": the " << PixelLanesPath() << " path's picture or companion differs from the "
                    << theirPath.toStdString() << " path's";
  }
  EXPECT_EQ(differing, 0) << "cases that differ";
}

}  // namespace
