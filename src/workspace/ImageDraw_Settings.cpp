// Line and fill styles, guide lines, background pattern, font and colour chooser.
#include <QAction>
#include <QAbstractButton>
#include <QButtonGroup>

#include "dialogs/ColorSlt.h"
#include "dialogs/DialogSeam.h"
#include "workspace/DrawingSurface.h"
#include "workspace/ImageDraw.h"

void ImageDraw::ChooseLineStyle(int button) {
  if (button < 1 || button > 6) return;
  lineStyleButtons_->button(button)->setChecked(true);
  if (button <= 3) {
    Picture.DrawWidth = 1;
    Picture.DrawStyle = button;
  } else {
    Picture.DrawStyle = Canvas::kSolid;
    Picture.DrawWidth = button == 4 ? 1 : button == 5 ? 2 : 4;
  }
}

void ImageDraw::ChooseFillStyle(int button) {
  if (button < 1 || button > 8) return;
  fillStyleButtons_->button(button)->setChecked(true);
  Picture.FillStyle = button - 1;
}

void ImageDraw::ToggleGuideLines() {
  // The action has already inverted its check mark; the toolbar button shows the same state.
  surface_->ShowGuideLines(Action(Command::GuideLines)->isChecked());
}

void ImageDraw::ToggleBackground() { surface_->ShowBackground(Action(Command::BackgroundPattern)->isChecked(), Picture.Size()); }

void ImageDraw::ChooseFont() {
  auto chosen = Dialogs().PickFont(this, Picture.Font, Picture.ForeColor);
  if (!chosen) return;
  const QFont& f = chosen->first;
  Picture.Font.setFamily(f.family());
  Picture.Font.setPointSizeF(f.pointSizeF());
  Picture.Font.setBold(f.bold());
  Picture.Font.setItalic(f.italic());
  Picture.Font.setUnderline(f.underline());
  Picture.ForeColor = chosen->second;
}

void ImageDraw::ToggleColorChooser() {
  if (Action(Command::ColorChooser)->isChecked())
    colorWindow_->Open();
  else
    colorWindow_->CloseWindow();
}

void ImageDraw::ChooseColor(QRgb color) {
  // Outlines and fills match: the colour is both the foreground and the fill colour.
  Picture.FillColor = color;
  Picture.ForeColor = color;
}
