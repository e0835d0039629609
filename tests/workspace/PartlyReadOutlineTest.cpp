// A photograph read in part: its missing part is grey like the drawing area, so the area draws a
// line one device pixel wide, darker, just outside the picture, at every zoom; never in the
// picture. It goes with the picture: a new picture or another file read whole has none.
#include <gtest/gtest.h>

#include <QFile>
#include <QRegion>
#include <QTemporaryDir>

#include "support/WindowDriver.h"

namespace {

constexpr QRgb kAreaGrey = 0xFF808080u;

// A photo-like picture saved as JPEG, whole and cut off in its scans (two thirds of the bytes).
void WriteJpegs(const QString& whole, const QString& cut) {
  QImage photo(96, 72, QImage::Format_RGB32);
  for (int y = 0; y < photo.height(); ++y)
    for (int x = 0; x < photo.width(); ++x) photo.setPixel(x, y, qRgb((x * 7 + y * 13) % 256, (x * y) % 256, (x ^ y) & 255));
  ASSERT_TRUE(photo.save(whole, "JPG", 90));
  QFile in(whole);
  ASSERT_TRUE(in.open(QIODevice::ReadOnly));
  const QByteArray bytes = in.readAll();
  QFile out(cut);
  ASSERT_TRUE(out.open(QIODevice::WriteOnly));
  out.write(bytes.left(bytes.size() * 2 / 3));
}

// The pixels of `image` on the ring `distance` pixels outside the rectangle `r` (1: just outside),
// but those under `covered`.
std::vector<QRgb> Ring(const QImage& image, QRect r, int distance, const QRegion& covered) {
  const QRect ring = r.adjusted(-distance, -distance, distance, distance);
  std::vector<QRgb> pixels;
  auto take = [&](int x, int y) {
    if (image.rect().contains(x, y) && !covered.contains(QPoint(x, y))) pixels.push_back(image.pixel(x, y) | 0xFF000000u);
  };
  for (int x = ring.left(); x <= ring.right(); ++x) take(x, ring.top()), take(x, ring.bottom());
  for (int y = ring.top() + 1; y < ring.bottom(); ++y) take(ring.left(), y), take(ring.right(), y);
  return pixels;
}

QString Hex(QRgb p) { return QString::number(p, 16); }

// What the drawing area shows around and along the picture's edges: whether it is outlined (the
// ring just outside darker than the area, the next one the area's grey), with the picture's own
// pixels just inside its edges.
::testing::AssertionResult Outlined(WindowDriver& d, bool expected) {
  const QImage shown = d.Drawing()->grab().toImage().convertToFormat(QImage::Format_RGB32);
  const int zoom = d.Transform().zoom;
  const QRect picture(d.Surface()->pos(), d.Picture().Size() * zoom);
  // The picture lies at the area's top-left corner: its right and bottom sides show.
  if (picture.right() + 2 >= shown.width() || picture.bottom() + 2 >= shown.height())
    return ::testing::AssertionFailure() << "the picture and its outline do not fit in the area";
  // The resize handles, when shown, lie over the picture's edges.
  QRegion handles;
  for (const char* name : {"RL", "UD", "RLUD"})
    if (QWidget* h = d.Find<QWidget>(name); h->isVisible()) handles += h->geometry();
  const std::vector<QRgb> outside = Ring(shown, picture, 1, handles), beyond = Ring(shown, picture, 2, handles);
  if (outside.size() < size_t(picture.width() + picture.height()) / 2) return ::testing::AssertionFailure() << "no outline to see";
  for (QRgb p : beyond)
    if (p != kAreaGrey) return ::testing::AssertionFailure() << "two pixels out: " << Hex(p).toStdString() << ", not the area's grey";
  for (QRgb p : outside) {
    if (expected && qGray(p) >= qGray(kAreaGrey))
      return ::testing::AssertionFailure() << "just outside: " << Hex(p).toStdString() << ", not darker than the area";
    if (!expected && p != kAreaGrey) return ::testing::AssertionFailure() << "just outside: " << Hex(p).toStdString() << ", an outline";
  }
  for (int x = 0; x < picture.width(); ++x)
    for (int y : {0, picture.height() - 1}) {
      const QRgb want = d.Pixel(x / zoom, y / zoom), got = shown.pixel(picture.left() + x, picture.top() + y) | 0xFF000000u;
      if (got != want)
        return ::testing::AssertionFailure() << "the picture's edge at (" << x << ", " << y << ") shows "
                                             << Hex(got).toStdString() << ", not " << Hex(want).toStdString();
    }
  return ::testing::AssertionSuccess();
}

TEST(PartlyRead, APhotographReadInPartIsOutlinedOnScreenOnlyUntilAnotherPictureComes) {
  QTemporaryDir dir;
  const QString whole = dir.filePath("whole.jpg"), cut = dir.filePath("cut.jpg");
  WriteJpegs(whole, cut);
  WindowDriver d;
  d.dialogs.openNames = {cut};
  d.Trigger("Menu_File_Open");
  ASSERT_EQ(d.dialogs.told, QStringList{"打开|图像文件不完整，只显示了能读出的部分。"});
  // The missing bottom is the area's grey: without the outline the picture would seem to end
  // where its photograph does.
  const QRgb missing = d.Pixel(0, d.Picture().Height() - 1);
  EXPECT_LE(std::abs(qGray(missing) - qGray(kAreaGrey)), 2) << Hex(missing).toStdString();
  const QImage picture = d.Image();
  for (int zoom : {1, 3, 1}) {
    d.SetZoom(zoom);
    EXPECT_TRUE(Outlined(d, true)) << "at zoom " << zoom;
  }
  EXPECT_EQ(d.Image(), picture) << "the outline is never in the picture";
  // Drawing on it and growing it keep it outlined, around the picture as it is now.
  d.ClickTool(7);
  d.Drag({10, 10}, {40, 30});
  d.ResizePicture(130, 90);
  EXPECT_TRUE(Outlined(d, true)) << "after a figure and a resize";

  // A new picture is whole.
  d.dialogs.answers = {QMessageBox::No};
  d.Trigger("Menu_File_New");
  EXPECT_TRUE(Outlined(d, false)) << "a new picture";
  // Another file read whole has no outline; the cut one again has.
  for (const auto& [file, outlined] : {std::pair{cut, true}, std::pair{whole, false}}) {
    d.dialogs.answers = {QMessageBox::No};
    d.dialogs.openNames = {file};
    d.Trigger("Menu_File_Open");
    EXPECT_TRUE(Outlined(d, outlined)) << file.toStdString();
  }
}

}  // namespace
