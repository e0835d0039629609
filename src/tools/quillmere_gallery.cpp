// quillmere_gallery: draws the figures of the palettes with the program's own routines on one sheet,
// so that a person can look at every figure at the sizes teachers use.
//
//   quillmere_gallery OUT.png [--palette P] [--scale K]
//     P = 0..3; all four palettes without it. K = 2..4: every cell drawn through the
//     high-resolution companion at K times the detail, as the figure will print; a sheet whose
//     side would pass 16384 pixels is split into pages OUT-1.png, OUT-2.png, ...
//
// One row per tool that draws: its number and tooltip, then the figure for a small and a large
// drag, for the large drag made the other way round (leftwards), for a tall box or a slanted
// segment, with line width 4, and at width 2 with a cross-hatched fill; black on white, with the
// tool's default parameter values.
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QString>
#include <cstdio>
#include <cstdlib>
#include <algorithm>
#include <vector>

#include "figures/Canvas.h"
#include "figures/DrawFigure.h"
#include "figures/FigureSamples.h"
#include "figures/ToolTable.h"
#include "workspace/ToolCatalogue.h"

namespace {

constexpr int kCell = figures::kSampleWidth;  // one figure's cell
constexpr int kCellHeight = figures::kSampleHeight;
constexpr int kLabelWidth = 230;   // the column with number and tooltip
constexpr int kHeader = 48;
const char* const kPaletteNames[4] = {"常用图形", "电场磁场", "立体几何", "综合图形"};

struct Variant {
  const char* caption;
  double scale;                 // 1: the large drag; smaller: the small one
  bool reversed;                // the drag made the other way round
  figures::SampleShape shape;   // the usual drag, or a tall box / a slanted segment
  int width;                    // line width
  int fillStyle;                // fill style
};
using figures::SampleShape;
const Variant kVariants[] = {
    {"小 (40)", 0.25, false, SampleShape::Usual, 1, Canvas::kFillTransparent},
    {"大 (160)", 1.0, false, SampleShape::Usual, 1, Canvas::kFillTransparent},
    {"反向拖动", 1.0, true, SampleShape::Usual, 1, Canvas::kFillTransparent},
    {"竖长或斜向", 1.0, false, SampleShape::Other, 1, Canvas::kFillTransparent},
    {"线宽 4", 1.0, false, SampleShape::Usual, 4, Canvas::kFillTransparent},
    {"填充 (网格)", 0.6, false, SampleShape::Usual, 2, 6},
};

QImage Figure(const ToolFigure& f, const Variant& v, int scale) {
  Canvas canvas(kCell, kCellHeight);
  if (scale > 1) canvas.SetCompanion(scale);
  canvas.DrawWidth = v.width;
  canvas.FillStyle = v.fillStyle;
  DragGeometry g = figures::SampleDrag(f.kind, v.scale, v.reversed, v.shape);
  DrawFigure(canvas, g, ToolNumber(f.id), DefaultParameters(ToolNumber(f.id)));
  return scale > 1 ? canvas.Companion() : canvas.Image();
}

bool Shown(const ToolFigure& f, int palette) {
  const int n = ToolNumber(f.id);
  if (palette >= 0 && (n - 1) / kPaletteButtons != palette) return false;
  return f.kind != FigureKind::None && f.kind != FigureKind::Seed && f.id != ToolId::Selection;
}

// One sheet of `tools` (a page of them), at `scale` times the size.
QImage Sheet(int palette, const std::vector<ToolFigure>& tools, int scale, int page, int pages) {
  const int columns = static_cast<int>(std::size(kVariants));
  const int width = kLabelWidth + columns * (kCell + 4);
  const int height = kHeader + static_cast<int>(tools.size()) * (kCellHeight + 4) + 4;
  QImage sheet(width * scale, height * scale, QImage::Format_RGB32);
  if (sheet.isNull()) return sheet;
  sheet.fill(Qt::white);
  QPainter p(&sheet);
  p.scale(scale, scale);
  QFont font(QStringLiteral("WenQuanYi Micro Hei"));
  font.setPixelSize(14);
  p.setFont(font);
  p.setPen(Qt::black);
  const QString title = palette < 0 ? QStringLiteral("Quillmere 图形库：全部调色板")
                                    : QStringLiteral("Quillmere 图形库：调色板 %1 %2")
                                          .arg(palette)
                                          .arg(QString::fromUtf8(kPaletteNames[palette])) +
                        (pages > 1 ? QStringLiteral("（第 %1/%2 页）").arg(page).arg(pages) : QString()) +
                        (scale > 1 ? QStringLiteral("，%1 倍精度").arg(scale) : QString());
  p.drawText(QRect(8, 0, width - 16, kHeader / 2), Qt::AlignVCenter, title);
  for (int c = 0; c < columns; ++c)
    p.drawText(QRect(kLabelWidth + c * (kCell + 4), kHeader / 2, kCell, kHeader / 2), Qt::AlignCenter,
               QString::fromUtf8(kVariants[c].caption));
  int y = kHeader;
  for (const ToolFigure& f : tools) {
    const int n = ToolNumber(f.id);
    p.setPen(QColor(200, 200, 200));
    p.drawLine(0, y, width, y);
    p.setPen(Qt::black);
    p.drawText(QRect(8, y + 4, kLabelWidth - 16, kCellHeight - 8), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
               QStringLiteral("%1  %2").arg(n).arg(ToolTooltip(n)));
    for (int c = 0; c < columns; ++c) {
      const int x = kLabelWidth + c * (kCell + 4);
      // The cell at its own pixels: one companion pixel to one sheet pixel.
      p.save();
      p.resetTransform();
      p.drawImage(x * scale, (y + 2) * scale, Figure(f, kVariants[c], scale));
      p.restore();
      p.setPen(QColor(220, 220, 220));
      p.drawRect(x - 1, y + 1, kCell + 1, kCellHeight + 1);
    }
    y += kCellHeight + 4;
  }
  return sheet;
}

// The rows of `palette`, split into pages whose height at `scale` stays within 16384 pixels.
std::vector<std::vector<ToolFigure>> Pages(int palette, int scale) {
  std::vector<ToolFigure> tools;
  for (const ToolFigure& f : FiguresWithRoutines())
    if (Shown(f, palette)) tools.push_back(f);
  const int perPage = std::max(1, (Canvas::kMaxSide / scale - kHeader - 4) / (kCellHeight + 4));
  std::vector<std::vector<ToolFigure>> pages;
  for (size_t i = 0; i < tools.size(); i += static_cast<size_t>(perPage))
    pages.emplace_back(tools.begin() + static_cast<std::ptrdiff_t>(i),
                       tools.begin() + static_cast<std::ptrdiff_t>(std::min(tools.size(), i + static_cast<size_t>(perPage))));
  if (pages.empty()) pages.emplace_back();
  return pages;
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  QString out;
  int palette = -1, scale = 1;
  for (int i = 1; i < argc; ++i) {
    const QString a = QString::fromLocal8Bit(argv[i]);
    if (a == QLatin1String("--palette") && i + 1 < argc) {
      bool ok = false;
      palette = QString::fromLocal8Bit(argv[++i]).toInt(&ok);
      if (!ok || palette < 0 || palette > 3) palette = -2;
    } else if (a == QLatin1String("--scale") && i + 1 < argc) {
      bool ok = false;
      scale = QString::fromLocal8Bit(argv[++i]).toInt(&ok);
      if (!ok || scale < 1 || scale > 4) palette = -2;
    } else if (out.isEmpty() && !a.startsWith(QLatin1Char('-'))) {
      out = a;  // an option it does not know (--help) is no file name
    } else {
      palette = -2;
    }
  }
  if (out.isEmpty() || palette == -2) {
    std::fputs("用法：quillmere_gallery 输出.png [--palette 0..3] [--scale 1..4]\n", stderr);
    return 2;
  }
  const std::vector<std::vector<ToolFigure>> pages = Pages(palette, scale);
  for (size_t i = 0; i < pages.size(); ++i) {
    QString name = out;
    if (pages.size() > 1) {
      const int dot = out.lastIndexOf(QLatin1Char('.'));
      const QString page = QStringLiteral("-%1").arg(i + 1);
      name = dot > out.lastIndexOf(QLatin1Char('/')) ? out.left(dot) + page + out.mid(dot) : out + page;
    }
    const QImage sheet = Sheet(palette, pages[i], scale, static_cast<int>(i) + 1, static_cast<int>(pages.size()));
    if (sheet.isNull() || !sheet.save(name, "PNG")) {
      std::fprintf(stderr, "无法写入“%s”\n", name.toLocal8Bit().constData());
      return 1;
    }
    std::printf("%s\n", name.toLocal8Bit().constData());
  }
  return 0;
}
