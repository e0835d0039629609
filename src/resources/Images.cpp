#include "resources/Images.h"

#include <QBitmap>
#include <QIconEngine>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>
#include <array>
#include <cmath>
#include <cstring>

#include "resources/PictureTables.h"

// The resource file lives in the static core library: referencing its initialiser keeps the
// linker from dropping it.
static void LoadPictureResources() {
  static const bool loaded = [] {
    Q_INIT_RESOURCE(quillmere);
    return true;
  }();
  (void)loaded;
}

namespace {

using Pictures::DrawFn;
using Pictures::Pad;

enum class Shape { Square, Wide };

constexpr qreal kSquareGrid = 24;  // design units of the square pictures
constexpr qreal kWideHeight = 16;  // design height of the style pictures
constexpr qreal kWideWidth = 40;   // their natural width

// Draws one picture as vectors at whatever pixel size and scale is asked for, so every picture is
// crisp at 100 %, 200 % and fractional display scales.
class PictureEngine final : public QIconEngine {
 public:
  PictureEngine(DrawFn draw, Shape shape) : draw_(draw), shape_(shape) {}

  QIconEngine* clone() const override { return new PictureEngine(draw_, shape_); }
  QString key() const override { return QStringLiteral("QuillmerePicture"); }

  QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override { return Fit(size); }

  QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override {
    if (shape_ == Shape::Wide) return {QSize(int(kWideWidth), int(kWideHeight))};
    return {QSize(16, 16), QSize(24, 24), QSize(32, 32), QSize(48, 48)};
  }

  QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
    return scaledPixmap(size, mode, state, 1.0);
  }

  QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State, qreal) override {
    const QSize fit = Fit(size);
    if (fit.isEmpty()) return QPixmap();
    for (const Cached& c : cache_)
      if (c.size == fit && c.mode == mode && !c.pixmap.isNull()) return c.pixmap;
    QImage image = Render(fit);
    if (mode == QIcon::Disabled) Fade(image);
    QPixmap pixmap = QPixmap::fromImage(image);
    cache_[next_] = {fit, mode, pixmap};
    next_ = (next_ + 1) % cache_.size();
    return pixmap;
  }

  void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override {
    const qreal dpr = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
    QPixmap pm = scaledPixmap((QSizeF(rect.size()) * dpr).toSize(), mode, state, dpr);
    if (pm.isNull()) return;
    pm.setDevicePixelRatio(dpr);
    const QSizeF logical = QSizeF(pm.size()) / dpr;
    const QPointF at(rect.x() + (rect.width() - logical.width()) / 2,
                     rect.y() + (rect.height() - logical.height()) / 2);
    painter->drawPixmap(at, pm);
  }

 private:
  QSize Fit(const QSize& size) const {
    if (size.width() <= 0 || size.height() <= 0) return QSize();
    if (shape_ == Shape::Square) {
      const int side = std::min(size.width(), size.height());
      return QSize(side, side);
    }
    // A style picture keeps its height-to-width ratio at most 16 : 40 and otherwise takes the
    // whole width it is given, so a wide button shows a long line.
    const int height = std::min(size.height(), int(std::lround(size.width() * kWideHeight / kWideWidth)));
    return QSize(size.width(), std::max(1, height));
  }

  QImage Render(const QSize& px) const {
    QImage image(px, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, true);
    const qreal grid = shape_ == Shape::Square ? kSquareGrid : kWideHeight;
    const qreal scale = px.height() / grid;
    painter.scale(scale, scale);
    painter.translate(0.5, 0.5);
    Pad pad(painter, px.width() / scale, grid);
    draw_(pad);
    painter.end();
    return image;
  }

  // The look of a disabled button: grey and faint.
  static void Fade(QImage& image) {
    for (int y = 0; y < image.height(); ++y) {
      auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
      for (int x = 0; x < image.width(); ++x) {
        const QRgb c = line[x];
        const int a = qAlpha(c);
        if (a == 0) continue;
        const QColor u = QColor::fromRgba(qUnpremultiply(c));
        const int g = 110 + qGray(u.rgb()) * 120 / 255;
        line[x] = qPremultiply(qRgba(g, g, g, a * 55 / 100));
      }
    }
  }

  struct Cached {
    QSize size;
    QIcon::Mode mode = QIcon::Normal;
    QPixmap pixmap;
  };

  DrawFn draw_;
  Shape shape_;
  std::array<Cached, 6> cache_{};
  size_t next_ = 0;
};

void DrawProgramIcon(Pad& d) {
  LoadPictureResources();
  QSvgRenderer svg(QStringLiteral(":/quillmere/quillmere.svg"));
  d.p.translate(-0.5, -0.5);
  svg.render(&d.p, QRectF(0, 0, d.w, d.h));
}

QIcon MakeIcon(DrawFn draw, Shape shape) {
  if (!draw) return QIcon();
  return QIcon(new PictureEngine(draw, shape));
}

// Builds a bitmap cursor from a picture of '#' (ink) and ' ' (nothing). Every empty pixel next to
// the ink becomes white, so the pointer stays visible on black and on white pictures alike: the
// window system draws bitmap cursors in black and white only, it cannot invert the screen under
// them. The picture is padded by one pixel for that white rim, so the hot spot moves by (1, 1).
QCursor MakeCursor(const std::initializer_list<const char*> rows, int hotX, int hotY) {
  const int h = int(rows.size()) + 2;
  int w = 0;
  for (const char* r : rows) w = std::max(w, int(std::strlen(r)));
  w += 2;
  auto ink = [&](int x, int y) {
    if (y < 1 || y > int(rows.size())) return false;
    const char* r = rows.begin()[y - 1];
    return x >= 1 && x - 1 < int(std::strlen(r)) && r[x - 1] == '#';
  };
  QImage bits(w, h, QImage::Format_Mono), mask(w, h, QImage::Format_Mono);
  bits.setColor(0, qRgb(255, 255, 255));
  bits.setColor(1, qRgb(0, 0, 0));
  mask.setColor(0, qRgb(255, 255, 255));
  mask.setColor(1, qRgb(0, 0, 0));
  bits.fill(0);
  mask.fill(0);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      bool rim = false;
      for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx) rim = rim || ink(x + dx, y + dy);
      if (ink(x, y)) bits.setPixel(x, y, 1);
      if (rim) mask.setPixel(x, y, 1);
    }
  return QCursor(QBitmap::fromImage(bits), QBitmap::fromImage(mask), hotX + 1, hotY + 1);
}

}  // namespace

QIcon ToolbarImage(ToolbarPicture picture) { return MakeIcon(Pictures::ToolbarDrawing(picture), Shape::Square); }

QIcon StyleImage(StylePicture picture) { return MakeIcon(Pictures::StyleDrawing(picture), Shape::Wide); }

QIcon PaletteImage(int index) {
  if (index < 1 || index > 200) return QIcon();
  const DrawFn draw = Pictures::PaletteDrawing(index);
  return MakeIcon(draw ? draw : &Pictures::DrawEmptyButton, Shape::Square);
}

QIcon ProgramIcon() {
  LoadPictureResources();
  return MakeIcon(&DrawProgramIcon, Shape::Square);
}

QCursor EraserCursor() {
  // The square outlines exactly the 6 x 6 pixels one eraser step paints white.
  return MakeCursor({"######",
                     "#    #",
                     "#    #",
                     "#    #",
                     "#    #",
                     "######"},
                    0, 0);
}

QCursor FillCursor() {
  // A paint bucket tipped to the left, its handle up, 11 x 15 pixels; it pours from the lip at the
  // top-left pixel.
  return MakeCursor({"#    ##    ",
                     "##  #  #   ",
                     "# ##    #  ",
                     "#   ##  #  ",
                     " #    ###  ",
                     " #      ## ",
                     "  #       #",
                     "  #       #",
                     "  #       #",
                     "   #     # ",
                     "   #     # ",
                     "   #    #  ",
                     "    #  #   ",
                     "    # #    ",
                     "     #     "},
                    0, 0);
}
