// The program's pictures: every toolbar, style and palette image is a distinct, visible drawing at
// 100 % and 200 %, unused palette buttons look empty, the cursors point where they should.
#include <gtest/gtest.h>

#include <QBitmap>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <climits>
#include <map>
#include <set>
#include <utility>
#include <vector>

#include "resources/Images.h"
#include "workspace/ToolCatalogue.h"

namespace {

QImage Render(const QIcon& icon, QSize size, QIcon::Mode mode = QIcon::Normal) {
  return icon.pixmap(size, 1.0, mode).toImage().convertToFormat(QImage::Format_ARGB32);
}

// Pixels that a viewer sees as ink: clearly opaque and not white.
int InkPixels(const QImage& image) {
  int n = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) {
      const QRgb c = image.pixel(x, y);
      if (qAlpha(c) > 100 && qGray(c) < 180) ++n;
    }
  return n;
}

// Every toolbar picture (24 x 24) and every style picture (40 x 16), by name, with the size a
// button shows it at.
std::vector<std::pair<QIcon, QSize>> EveryToolbarAndStylePicture() {
  std::vector<std::pair<QIcon, QSize>> pictures;
  for (int i = int(ToolbarPicture::None) + 1; i < int(ToolbarPicture::Count_); ++i)
    pictures.emplace_back(ToolbarImage(ToolbarPicture(i)), QSize(24, 24));
  for (int i = 0; i < int(StylePicture::Count_); ++i) pictures.emplace_back(StyleImage(StylePicture(i)), QSize(40, 16));
  return pictures;
}

bool UsedPaletteButton(int index) {
  const int button = (index - 1) % 50 + 1;
  return button == 1 || !ToolTooltip(index).isEmpty();
}

TEST(ImagesTest, OutOfRangeIndicesGiveEmptyIcons) {
  for (int i : {INT_MIN, -1, 0, int(ToolbarPicture::Count_), 1000, INT_MAX})
    EXPECT_TRUE(ToolbarImage(ToolbarPicture(i)).isNull()) << i;
  for (int i : {INT_MIN, -1, int(StylePicture::Count_), 1000, INT_MAX})
    EXPECT_TRUE(StyleImage(StylePicture(i)).isNull()) << i;
  for (int i : {INT_MIN, -1, 0, 201, 250, INT_MAX}) EXPECT_TRUE(PaletteImage(i).isNull()) << i;
  EXPECT_TRUE(ToolbarImage(ToolbarPicture::None).pixmap(24, 24).isNull());
}

TEST(ImagesTest, ToolbarAndStyleImagesAreVisibleAndDistinct) {
  for (qreal scale : {1.0, 2.0}) {
    std::map<QByteArray, int> seen;
    const auto pictures = EveryToolbarAndStylePicture();
    for (int i = 0; i < int(pictures.size()); ++i) {
      const auto& [icon, size] = pictures[size_t(i)];
      ASSERT_FALSE(icon.isNull()) << i;
      const QImage image = Render(icon, size * scale);
      ASSERT_EQ(image.size(), size * scale) << i;
      EXPECT_GE(InkPixels(image), int(10 * scale * scale)) << "toolbar image " << i << " is nearly blank";
      const QByteArray bytes(reinterpret_cast<const char*>(image.constBits()), int(image.sizeInBytes()));
      const auto [it, fresh] = seen.emplace(bytes, i);
      EXPECT_TRUE(fresh) << "toolbar images " << it->second << " and " << i << " are identical";
    }
  }
}

TEST(ImagesTest, PaletteImagesShowTheirToolsAndEmptyButtonsLookEmpty) {
  const QImage empty = Render(PaletteImage(23), QSize(24, 24));
  for (qreal scale : {1.0, 2.0}) {
    const QSize size = QSize(24, 24) * scale;
    std::map<QByteArray, int> seen;
    for (int i = 1; i <= 200; ++i) {
      const QIcon icon = PaletteImage(i);
      ASSERT_FALSE(icon.isNull()) << i;
      const QImage image = Render(icon, size);
      ASSERT_EQ(image.size(), size) << i;
      if (!UsedPaletteButton(i)) {
        EXPECT_EQ(InkPixels(image), 0) << "button without a tool " << i << " should look empty";
        int faint = 0;
        for (int y = 0; y < image.height(); ++y)
          for (int x = 0; x < image.width(); ++x) faint += qAlpha(image.pixel(x, y)) > 0;
        EXPECT_GT(faint, int(10 * scale)) << "button without a tool " << i << " is a blank square";
        if (scale == 1.0) {
          EXPECT_EQ(image, empty) << i;
        }
        continue;
      }
      EXPECT_GE(InkPixels(image), int(20 * scale * scale)) << "palette image " << i << " is nearly blank";
      const int button = (i - 1) % 50 + 1;
      if (button == 1) {
        EXPECT_EQ(image, Render(PaletteImage(1), size)) << "every palette's selection tool looks the same";
        if (i != 1) continue;
      }
      const QByteArray bytes(reinterpret_cast<const char*>(image.constBits()), int(image.sizeInBytes()));
      const auto [it, fresh] = seen.emplace(bytes, i);
      EXPECT_TRUE(fresh) << "palette images " << it->second << " and " << i << " are identical";
    }
  }
}

TEST(ImagesTest, TwiceTheScaleDrawsTwiceTheDetail) {
  // At 200 % a picture is drawn anew, not enlarged: some 2 x 2 block holds more than one colour.
  for (int i : {4, 11, 52, 107, 157}) {
    const QImage big = Render(PaletteImage(i), QSize(48, 48));
    bool detail = false;
    for (int y = 0; y + 1 < 48 && !detail; y += 2)
      for (int x = 0; x + 1 < 48 && !detail; x += 2) {
        const QRgb a = big.pixel(x, y);
        detail = a != big.pixel(x + 1, y) || a != big.pixel(x, y + 1) || a != big.pixel(x + 1, y + 1);
      }
    EXPECT_TRUE(detail) << i;
  }
}

TEST(ImagesTest, HighDensityScreensGetFullResolutionPixmaps) {
  // What a toolbar asks for on a 200 % or 150 % screen: the logical size times the scale, in pixels.
  const struct {
    QIcon icon;
    QSize logical;
    qreal dpr;
    QSize pixels;
  } cases[] = {{PaletteImage(12), {24, 24}, 2.0, {48, 48}},
               {PaletteImage(12), {24, 24}, 1.5, {36, 36}},
               {ToolbarImage(ToolbarPicture::Save), {24, 24}, 2.0, {48, 48}},
               {StyleImage(StylePicture::LineDashed), {48, 16}, 2.0, {96, 32}},
               {ProgramIcon(), {16, 16}, 2.0, {32, 32}}};
  for (const auto& c : cases) {
    const QPixmap pm = c.icon.pixmap(c.logical, c.dpr);
    EXPECT_EQ(pm.size(), c.pixels) << c.dpr;
    EXPECT_DOUBLE_EQ(pm.devicePixelRatio(), c.dpr);
    EXPECT_GT(InkPixels(pm.toImage().convertToFormat(QImage::Format_ARGB32)), 0);
  }
  // Painting through a painter on a 200 % device draws at full resolution too.
  QImage target(48, 48, QImage::Format_ARGB32_Premultiplied);
  target.setDevicePixelRatio(2.0);
  target.fill(Qt::white);
  {
    QPainter p(&target);
    PaletteImage(10).paint(&p, QRect(0, 0, 24, 24));
  }
  QImage direct(48, 48, QImage::Format_ARGB32_Premultiplied);
  direct.fill(Qt::white);
  {
    QPainter p(&direct);
    p.drawImage(0, 0, Render(PaletteImage(10), QSize(48, 48)));
  }
  target.setDevicePixelRatio(1.0);
  EXPECT_EQ(target.convertToFormat(QImage::Format_RGB32), direct.convertToFormat(QImage::Format_RGB32));
}

// The rows of a style picture that carry ink in its middle column.
std::vector<int> InkRows(const QImage& image, int x) {
  std::vector<int> rows;
  for (int y = 0; y < image.height(); ++y)
    if (qAlpha(image.pixel(x, y)) > 200) rows.push_back(y);
  return rows;
}

TEST(ImagesTest, LineStylePicturesShowTheirPatternAndWidth) {
  // Solid widths 1, 2 and 4 are that many crisp rows at 100 %, twice as many at 200 %.
  const struct {
    StylePicture image;
    int rows;
  } solid[] = {{StylePicture::LineSolid, 1}, {StylePicture::LineWidth2, 2}, {StylePicture::LineWidth4, 4}};
  for (const auto& s : solid)
    for (int scale : {1, 2}) {
      const QImage image = Render(StyleImage(s.image), QSize(40, 16) * scale);
      EXPECT_EQ(InkRows(image, 20 * scale).size(), size_t(s.rows * scale)) << int(s.image) << " at " << scale;
    }
  // Patterned lines have gaps along the row; dotted more than dashed.
  auto runs = [](StylePicture picture) {
    const QImage image = Render(StyleImage(picture), QSize(40, 16));
    const int y = InkRows(image, 3).empty() ? 7 : InkRows(image, 3).front();
    int count = 0;
    bool in = false;
    for (int x = 0; x < image.width(); ++x) {
      const bool ink = qAlpha(image.pixel(x, y)) > 200;
      count += ink && !in;
      in = ink;
    }
    return count;
  };
  EXPECT_EQ(runs(StylePicture::LineSolid), 1);
  EXPECT_GE(runs(StylePicture::LineDashed), 3);
  EXPECT_GT(runs(StylePicture::LineDotted), runs(StylePicture::LineDashed));
  EXPECT_GT(runs(StylePicture::LineDashDotted), runs(StylePicture::LineDashed));
}

TEST(ImagesTest, StylePicturesUseTheWholeWidthOfAWideButton) {
  const QIcon icon = StyleImage(StylePicture::LineSolid);
  EXPECT_EQ(icon.actualSize(QSize(48, 16)), QSize(48, 16));
  EXPECT_EQ(icon.actualSize(QSize(40, 40)), QSize(40, 16));
  const QImage image = Render(icon, QSize(48, 16));
  int left = 48, right = -1;
  for (int x = 0; x < 48; ++x)
    for (int y = 0; y < 16; ++y)
      if (qAlpha(image.pixel(x, y)) > 200) left = std::min(left, x), right = std::max(right, x);
  EXPECT_LE(left, 4);
  EXPECT_GE(right, 43);
}

TEST(ImagesTest, DisabledButtonsLookFaded) {
  const QImage normal = Render(ToolbarImage(ToolbarPicture::Undo), QSize(24, 24));
  const QImage disabled = Render(ToolbarImage(ToolbarPicture::Undo), QSize(24, 24), QIcon::Disabled);
  EXPECT_NE(normal, disabled);
  EXPECT_LT(InkPixels(disabled), InkPixels(normal));
}

TEST(ImagesTest, ProgramIconIsVisibleAtSmallAndLargeSizes) {
  const QIcon icon = ProgramIcon();
  ASSERT_FALSE(icon.isNull());
  for (int side : {16, 32, 48, 256}) {
    const QImage image = Render(icon, QSize(side, side));
    ASSERT_EQ(image.size(), QSize(side, side));
    EXPECT_GE(InkPixels(image), side * side / 12) << side;
    // The white sheet shows.
    int white = 0;
    for (int y = 0; y < side; ++y)
      for (int x = 0; x < side; ++x) white += image.pixel(x, y) == qRgba(255, 255, 255, 255);
    EXPECT_GE(white, side * side / 20) << side;
  }
}

// Pixels of a cursor: 'k' black, 'w' white, ' ' see-through.
char CursorPixel(const QCursor& c, int x, int y) {
  const QImage bits = c.bitmap().toImage().convertToFormat(QImage::Format_Mono);
  const QImage mask = c.mask().toImage().convertToFormat(QImage::Format_Mono);
  const bool m = mask.pixelIndex(x, y) == (qGray(mask.color(1)) < 128 ? 1 : 0);
  const bool b = bits.pixelIndex(x, y) == (qGray(bits.color(1)) < 128 ? 1 : 0);
  return !m ? ' ' : (b ? 'k' : 'w');
}

QRect InkBox(const QCursor& c) {
  QRect box;
  const QSize size = c.bitmap().size();
  for (int y = 0; y < size.height(); ++y)
    for (int x = 0; x < size.width(); ++x)
      if (CursorPixel(c, x, y) == 'k') box |= QRect(x, y, 1, 1);
  return box;
}

TEST(ImagesTest, EraserCursorOutlinesTheErasedSquare) {
  const QCursor c = EraserCursor();
  ASSERT_EQ(c.shape(), Qt::BitmapCursor);
  const QRect ink = InkBox(c);
  EXPECT_EQ(ink.size(), QSize(6, 6));
  EXPECT_EQ(ink.topLeft(), c.hotSpot());
  // Hollow: the inside shows the picture through a white rim, the ring itself is black.
  EXPECT_EQ(CursorPixel(c, ink.left() + 3, ink.top() + 3), ' ');
  EXPECT_EQ(CursorPixel(c, ink.left(), ink.top() + 3), 'k');
  EXPECT_EQ(CursorPixel(c, ink.left() - 1, ink.top()), 'w');
}

TEST(ImagesTest, FillCursorIsASmallBucketPointingWithItsTopLeftPixel) {
  const QCursor c = FillCursor();
  ASSERT_EQ(c.shape(), Qt::BitmapCursor);
  const QRect ink = InkBox(c);
  EXPECT_EQ(ink.size(), QSize(11, 15));
  EXPECT_EQ(ink.topLeft(), c.hotSpot());
  EXPECT_EQ(CursorPixel(c, c.hotSpot().x(), c.hotSpot().y()), 'k');
}

// With QM_CONTACT_SHEET=path.png set, writes every picture at 100 % and 200 % on one sheet for
// a person to look at.
TEST(ImagesTest, ContactSheet) {
  const QString path = qEnvironmentVariable("QM_CONTACT_SHEET");
  if (path.isEmpty()) GTEST_SKIP() << "set QM_CONTACT_SHEET=path.png to write the contact sheet";
  // Ten pictures a row, each at 100 % beside 200 %; palettes first, then toolbar and styles.
  const int cellW = 128, cellH = 64, cols = 10;
  const int rows = 20 + 4 + 2;
  QImage sheet(cols * cellW, rows * cellH, QImage::Format_RGB32);
  sheet.fill(QColor(0xf0, 0xf0, 0xf0));
  QPainter p(&sheet);
  QFont font("DejaVu Sans");
  font.setPixelSize(10);
  p.setFont(font);
  auto put = [&](const QIcon& icon, QSize logical, int slot, const QString& label) {
    const int x = (slot % cols) * cellW, y = (slot / cols) * cellH;
    p.setPen(Qt::gray);
    p.drawText(x + 2, y + 10, label);
    p.drawPixmap(x + 2, y + 14, icon.pixmap(logical, 1.0));
    p.drawPixmap(x + 6 + logical.width(), y + 14, icon.pixmap(logical * 2, 1.0));
  };
  for (int i = 1; i <= 200; ++i) put(PaletteImage(i), QSize(24, 24), i - 1, QString::number(i));
  const auto pictures = EveryToolbarAndStylePicture();
  for (int i = 0; i < int(pictures.size()); ++i)
    put(pictures[size_t(i)].first, pictures[size_t(i)].second, 200 + i, QStringLiteral("T%1").arg(i + 1));
  for (int i = int(ToolbarPicture::Undo); i <= int(ToolbarPicture::TurnCounter); ++i) {
    const int slot = 240 + i - int(ToolbarPicture::Undo);
    p.drawPixmap((slot % cols) * cellW + 2, (slot / cols) * cellH + 14,
                 ToolbarImage(ToolbarPicture(i)).pixmap(QSize(24, 24), 1.0, QIcon::Disabled));
  }
  int x = 4;
  const int y0 = 25 * cellH;
  for (int side : {16, 24, 32, 48}) {
    p.drawPixmap(x, y0, ProgramIcon().pixmap(side, side));
    x += side + 8;
  }
  for (const QCursor& c : {EraserCursor(), FillCursor()}) {
    const QSize size = c.bitmap().size();
    for (int cy = 0; cy < size.height(); ++cy)
      for (int cx = 0; cx < size.width(); ++cx) {
        const char px = CursorPixel(c, cx, cy);
        const QColor colour = px == 'k' ? Qt::black : px == 'w' ? Qt::white : QColor(0x80, 0xb0, 0x80);
        p.fillRect(x + cx * 3, y0 + cy * 3, 3, 3, colour);
      }
    p.fillRect(x + c.hotSpot().x() * 3 + 1, y0 + c.hotSpot().y() * 3 + 1, 1, 1, Qt::red);
    x += size.width() * 3 + 12;
  }
  p.end();
  ASSERT_TRUE(sheet.save(path)) << path.toStdString();
}

}  // namespace
