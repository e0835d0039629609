// Pictures of the main toolbar buttons and of the line and fill style buttons.
#include <array>
#include <cmath>

#include "resources/PictureTables.h"

namespace Pictures {
namespace {

// A sheet of paper with a folded corner.
void Sheet(Pad& d, qreal x, qreal y, qreal w, qreal h) {
  d.Pen().Fill(Paper);
  d.Polygon({{x, y}, {x + w - 4, y}, {x + w, y + 4}, {x + w, y + h}, {x, y + h}});
  d.NoFill().Polyline({{x + w - 4, y}, {x + w - 4, y + 4}, {x + w, y + 4}});
}

void New(Pad& d) {
  Sheet(d, 5, 2, 13, 19);
  d.Pen(1, Yellow.darker(115));
  d.Line(17, 15, 21, 19);
  d.Line(21, 15, 17, 19);
  d.Line(19, 14, 19, 20);
  d.Line(16, 17, 22, 17);
}

void Open(Pad& d) {
  d.Pen().Fill(Yellow.darker(110));
  d.Polygon({{2, 5}, {8, 5}, {10, 7}, {18, 7}, {18, 19}, {2, 19}});
  d.Pen().Fill(Yellow);
  d.Polygon({{2, 19}, {6, 11}, {22, 11}, {18, 19}});
}

void Save(Pad& d) {
  d.Pen().Fill(Blue);
  d.Polygon({{3, 3}, {18, 3}, {21, 6}, {21, 20}, {3, 20}});
  d.Pen().Fill(Paper);
  d.Rect(6, 3, 11, 6);
  d.Fill(Ink).NoPen();
  d.p.drawRect(QRectF(13, 4.5, 2, 3.5));
  d.Pen().Fill(Paper);
  d.Rect(6, 12, 12, 8);
  d.Pen(1, Grey);
  d.Line(8, 15, 16, 15);
  d.Line(8, 17, 16, 17);
}

// A hooked arrow turning back: undo when `back`, redo otherwise.
void Turn(Pad& d, bool back) {
  d.p.save();
  if (!back) {
    d.p.translate(23, 0);
    d.p.scale(-1, 1);
  }
  QPainterPath path(QPointF(6, 9));
  path.lineTo(14, 9);
  path.cubicTo(QPointF(22, 9), QPointF(22, 19), QPointF(14, 19));
  path.lineTo(9, 19);
  d.RoundPen(2, Blue).NoFill();
  d.Path(path);
  d.Pen(1, Blue).Head(2, 9, 8, 9, 6, 4.5);
  d.p.restore();
}
void Undo(Pad& d) { Turn(d, true); }
void Redo(Pad& d) { Turn(d, false); }

void Copy(Pad& d) {
  Sheet(d, 3, 2, 11, 14);
  Sheet(d, 9, 7, 11, 14);
}

void Paste(Pad& d) {
  d.Pen().Fill(Wood);
  d.RoundRect(3, 4, 14, 17, 1.5);
  d.Pen().Fill(Grey);
  d.Rect(7, 2, 6, 4);
  Sheet(d, 10, 9, 11, 13);
}

void Delete(Pad& d) {
  d.RoundPen(3.2, Red);
  d.Line(6, 6, 17, 17);
  d.Line(17, 6, 6, 17);
}

// A triangle and its mirror image about a dashed axis, with a double arrow across.
void FlipH(Pad& d) {
  d.Pen(1, Grey, Qt::DashLine).Line(11.5, 1, 11.5, 22);
  d.Pen().Fill(Tint).Polygon({{9, 5}, {9, 17}, {2, 17}});
  d.Pen().Fill(Paper).Polygon({{14, 5}, {14, 17}, {21, 17}});
  d.Pen(1, Red);
  d.Line(6, 20, 17, 20);
  d.Barbs(4, 20, 8, 20, 2.5, 2);
  d.Barbs(19, 20, 15, 20, 2.5, 2);
}

void FlipV(Pad& d) {
  d.Pen(1, Grey, Qt::DashLine).Line(1, 11.5, 22, 11.5);
  d.Pen().Fill(Tint).Polygon({{2, 9}, {15, 9}, {15, 2}});
  d.Pen().Fill(Paper).Polygon({{2, 14}, {15, 14}, {15, 21}});
  d.Pen(1, Red);
  d.Line(20, 6, 20, 17);
  d.Barbs(20, 4, 20, 8, 2.5, 2);
  d.Barbs(20, 19, 20, 15, 2.5, 2);
}

// A slightly tilted square and a circular arrow around it.
void Turn1(Pad& d, bool clockwise) {
  d.p.save();
  if (!clockwise) {
    d.p.translate(23, 0);
    d.p.scale(-1, 1);
  }
  d.p.save();
  d.p.translate(11.5, 12.5);
  d.p.rotate(12);
  d.Pen().Fill(Tint).Rect(-4, -4, 8, 8);
  d.p.restore();
  d.RoundPen(1.6, Blue).NoFill();
  d.Arc(11.5, 12, 9, 9, 160, -250);
  const qreal a = (160 - 250) * M_PI / 180;
  const qreal tx = 11.5 + 9 * std::cos(a), ty = 12 - 9 * std::sin(a);
  d.Pen(1, Blue).Head(tx - 1.2, ty + 2.2, tx + 1.5, ty - 2.5, 4.5, 3);
  d.p.restore();
}
void RotateCw(Pad& d) { Turn1(d, true); }
void RotateCcw(Pad& d) { Turn1(d, false); }

void Guides(Pad& d) {
  d.Pen().Fill(Paper).Rect(2, 3, 19, 17);
  d.Pen(1, Ink).NoFill().Circle(9, 10, 4);
  d.Pen(1, Magenta, Qt::DashLine);
  d.Line(14, 4, 14, 19);
  d.Line(3, 14, 20, 14);
}

void Background(Pad& d) {
  d.Pen().Fill(Paper).Rect(2, 3, 19, 17);
  d.Pen(1, Grey).Hatch(QRectF(3, 4, 17, 15), 1, -1, 4);
  d.Pen().NoFill().Rect(2, 3, 19, 17);
}

void Colours(Pad& d) {
  const std::array<QColor, 4> c = {Red, Green, Blue, Yellow};
  for (int i = 0; i < 4; ++i) {
    d.Pen().Fill(c[i]);
    d.Rect(3 + (i % 2) * 9, 3 + (i / 2) * 9, 8, 8);
  }
}

// Emblems of the four palettes.
void PaletteCommon(Pad& d) {
  d.Pen().Fill(Tint).Rect(2, 9, 11, 11);
  d.Pen().Fill(PinkTint).Circle(15, 8, 6);
  d.Pen().NoFill().Polygon({{12, 21}, {17, 12}, {22, 21}});
}

void PaletteField(Pad& d) {
  d.Pen(1, Red);
  for (int i = 0; i < 6; ++i) {
    const qreal a = i * M_PI / 3 + M_PI / 6;
    const qreal c = std::cos(a), s = std::sin(a);
    d.Arrow(11.5 + 6 * c, 11.5 + 6 * s, 11.5 + 11 * c, 11.5 + 11 * s, 3, 2);
  }
  d.Pen(1, Red).Fill(PinkTint).Circle(11.5, 11.5, 4.5);
  d.Pen(1.4, Red).Glyph('+', 11.5, 11.5, 6);
}

void PaletteSolid(Pad& d) {
  d.Pen().Fill(Tint);
  d.Polygon({{3, 8}, {14, 8}, {14, 20}, {3, 20}});
  d.Fill(Tint.darker(110)).Polygon({{3, 8}, {8, 3}, {19, 3}, {14, 8}});
  d.Fill(Tint.darker(125)).Polygon({{14, 8}, {19, 3}, {19, 15}, {14, 20}});
  d.Pen(1, Grey, Qt::DashLine);
  d.Line(8, 4, 8, 15);
  d.Line(8, 15, 3, 20);
  d.Line(8, 15, 18, 15);
}

void PaletteMisc(Pad& d) {
  // A small car.
  d.Pen().Fill(Red);
  d.Polygon({{2, 16}, {2, 12}, {6, 11}, {9, 6}, {16, 6}, {19, 11}, {22, 12}, {22, 16}});
  d.Pen().Fill(Tint);
  d.Polygon({{8, 11}, {10, 8}, {15, 8}, {17, 11}});
  d.Pen().Fill(Ink).Circle(6.5, 17, 2.5);
  d.Circle(17.5, 17, 2.5);
  d.Pen(1, Paper).NoFill();
  d.Dot(6.5, 17, 0.9);
  d.Dot(17.5, 17, 0.9);
}

// Line style pictures: a horizontal line across the whole width.
template <int Style>
void LineStyle(Pad& d) {
  const qreal y = 7, x1 = 3, x2 = d.w - 4;
  QPen pen(Ink, 1, Qt::SolidLine, Qt::FlatCap);
  d.p.setPen(pen);
  auto pattern = [&](std::initializer_list<qreal> on_off) {
    qreal x = x1;
    while (x < x2) {
      bool on = true;
      for (qreal len : on_off) {
        if (x >= x2) break;
        if (on) d.p.drawLine(QPointF(x - 0.5, y), QPointF(std::min(x + len, x2 + 1) - 0.5, y));
        x += len;
        on = !on;
      }
    }
  };
  switch (Style) {
    case 1: pattern({5, 3}); break;
    case 2: pattern({1, 2}); break;
    case 3: pattern({5, 2, 1, 2}); break;
    case 4: d.p.drawLine(QPointF(x1 - 0.5, y), QPointF(x2 + 0.5, y)); break;
    case 5:
      pen.setWidth(2);
      d.p.setPen(pen);
      d.p.drawLine(QPointF(x1 - 0.5, y - 0.5), QPointF(x2 + 0.5, y - 0.5));
      break;
    case 6:
      pen.setWidth(4);
      d.p.setPen(pen);
      d.p.drawLine(QPointF(x1 - 0.5, y - 0.5), QPointF(x2 + 0.5, y - 0.5));
      break;
  }
}

// Fill style pictures: an outlined swatch with the pattern inside.
template <int Style>
void FillStyle(Pad& d) {
  const QRectF box(3, 2, d.w - 7, 11);
  const QRectF inner = box.adjusted(1, 1, -1, -1);
  d.Pen().Fill(Style == 1 ? Paper : Paper);
  if (Style == 1) d.NoFill();
  d.p.drawRect(box);
  d.Pen(1, Ink);
  switch (Style) {
    case 0: d.NoPen().Fill(Ink).p.drawRect(box); break;
    case 1: break;
    case 2: d.Hatch(inner.adjusted(0, 0.5, 0, 0), 1, 0, 3); break;
    case 3: d.Hatch(inner.adjusted(0.5, 0, 0, 0), 0, 1, 3); break;
    case 4: d.Hatch(inner, 1, -1, 3.5); break;
    case 5: d.Hatch(inner, 1, 1, 3.5); break;
    case 6:
      d.Hatch(inner.adjusted(0, 0.5, 0, 0), 1, 0, 3);
      d.Hatch(inner.adjusted(0.5, 0, 0, 0), 0, 1, 3);
      break;
    case 7:
      d.Hatch(inner, 1, -1, 3.5);
      d.Hatch(inner, 1, 1, 3.5);
      break;
  }
  d.Pen().NoFill().p.drawRect(box);
}

// Each picture's routine, by name.
struct Named {
  ToolbarPicture picture;
  DrawFn draw;
};
constexpr Named kToolbar[] = {
    {ToolbarPicture::New, &New},
    {ToolbarPicture::Open, &Open},
    {ToolbarPicture::Save, &Save},
    {ToolbarPicture::Undo, &Undo},
    {ToolbarPicture::Redo, &Redo},
    {ToolbarPicture::Copy, &Copy},
    {ToolbarPicture::Paste, &Paste},
    {ToolbarPicture::Delete, &Delete},
    {ToolbarPicture::FlipHorizontal, &FlipH},
    {ToolbarPicture::FlipVertical, &FlipV},
    {ToolbarPicture::TurnClockwise, &RotateCw},
    {ToolbarPicture::TurnCounter, &RotateCcw},
    {ToolbarPicture::GuideLines, &Guides},
    {ToolbarPicture::Background, &Background},
    {ToolbarPicture::Colours, &Colours},
    {ToolbarPicture::PaletteCommon, &PaletteCommon},
    {ToolbarPicture::PaletteField, &PaletteField},
    {ToolbarPicture::PaletteSolid, &PaletteSolid},
    {ToolbarPicture::PaletteMisc, &PaletteMisc},
};
static_assert(std::size(kToolbar) == size_t(ToolbarPicture::Count_) - 1, "every toolbar picture has its routine");

// In the order of the names.
constexpr DrawFn kStyles[] = {
    &LineStyle<1>, &LineStyle<2>, &LineStyle<3>, &LineStyle<4>, &LineStyle<5>, &LineStyle<6>, &FillStyle<0>,
    &FillStyle<1>, &FillStyle<2>, &FillStyle<3>, &FillStyle<4>, &FillStyle<5>, &FillStyle<6>, &FillStyle<7>};
static_assert(std::size(kStyles) == size_t(StylePicture::Count_), "every style picture has its routine");

}  // namespace

DrawFn ToolbarDrawing(ToolbarPicture picture) {
  for (const Named& n : kToolbar)
    if (n.picture == picture) return n.draw;
  return nullptr;
}

DrawFn StyleDrawing(StylePicture picture) {
  const auto at = size_t(picture);
  return at < std::size(kStyles) ? kStyles[at] : nullptr;
}

}  // namespace Pictures
