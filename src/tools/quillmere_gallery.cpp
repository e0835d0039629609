// quillmere_gallery: draws the figures of the palettes with the program's own routines on one sheet,
// so that a person can look at every figure at the sizes teachers use.
//
//   quillmere_gallery OUT.png [--palette P]     P = 0..3; all four palettes without it
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

QImage Figure(const ToolFigure& f, const Variant& v) {
  Canvas canvas(kCell, kCellHeight);
  canvas.DrawWidth = v.width;
  canvas.FillStyle = v.fillStyle;
  DragGeometry g = figures::SampleDrag(f.kind, v.scale, v.reversed, v.shape);
  DrawFigure(canvas, g, ToolNumber(f.id), DefaultParameters(ToolNumber(f.id)));
  return canvas.Image();
}

bool Shown(const ToolFigure& f, int palette) {
  const int n = ToolNumber(f.id);
  if (palette >= 0 && (n - 1) / kPaletteButtons != palette) return false;
  return f.kind != FigureKind::None && f.kind != FigureKind::Seed && f.id != ToolId::Selection;
}

QImage Sheet(int palette) {
  std::vector<ToolFigure> tools;
  for (const ToolFigure& f : FiguresWithRoutines())
    if (Shown(f, palette)) tools.push_back(f);
  const int columns = static_cast<int>(std::size(kVariants));
  const int width = kLabelWidth + columns * (kCell + 4);
  const int height = kHeader + static_cast<int>(tools.size()) * (kCellHeight + 4) + 4;
  QImage sheet(width, height, QImage::Format_RGB32);
  sheet.fill(Qt::white);
  QPainter p(&sheet);
  QFont font(QStringLiteral("WenQuanYi Micro Hei"));
  font.setPixelSize(14);
  p.setFont(font);
  p.setPen(Qt::black);
  const QString title = palette < 0 ? QStringLiteral("Quillmere 图形库：全部调色板")
                                    : QStringLiteral("Quillmere 图形库：调色板 %1 %2")
                                          .arg(palette)
                                          .arg(QString::fromUtf8(kPaletteNames[palette]));
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
      p.drawImage(x, y + 2, Figure(f, kVariants[c]));
      p.setPen(QColor(220, 220, 220));
      p.drawRect(x - 1, y + 1, kCell + 1, kCellHeight + 1);
    }
    y += kCellHeight + 4;
  }
  return sheet;
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  QString out;
  int palette = -1;
  for (int i = 1; i < argc; ++i) {
    const QString a = QString::fromLocal8Bit(argv[i]);
    if (a == QLatin1String("--palette") && i + 1 < argc) {
      bool ok = false;
      palette = QString::fromLocal8Bit(argv[++i]).toInt(&ok);
      if (!ok || palette < 0 || palette > 3) palette = -2;
    } else if (out.isEmpty()) {
      out = a;
    } else {
      palette = -2;
    }
  }
  if (out.isEmpty() || palette == -2) {
    std::fputs("用法：quillmere_gallery 输出.png [--palette 0..3]\n", stderr);
    return 2;
  }
  if (!Sheet(palette).save(out, "PNG")) {
    std::fprintf(stderr, "无法写入“%s”\n", out.toLocal8Bit().constData());
    return 1;
  }
  return 0;
}
