// Line and fill styles, guide lines, background pattern, font and colour chooser.
#include <QToolButton>

#include "dialogs/ColorSlt.h"
#include "dialogs/DialogSeam.h"
#include "workspace/DrawingSurface.h"
#include "workspace/ImageDraw.h"

void ImageDraw::ChooseLineStyle(int button) {
  if (button < 1 || button > 6) return;
  for (QToolButton* b : LStay) b->setChecked(false);
  LStay[button - 1]->setChecked(true);
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
  for (QToolButton* b : FStay) b->setChecked(false);
  FStay[button - 1]->setChecked(true);
  Picture.FillStyle = button - 1;
}

void ImageDraw::ToggleGuideLines() {
  // The action has already inverted its check mark; the toolbar button shows the same state.
  Draw_PIC->guideVisible = Menu_Tools_Line->isChecked();
  Draw_PIC->update();
}

void ImageDraw::ToggleBackground() {
  Draw_PIC->bgVisible = Menu_Tools_BGLine->isChecked();
  if (Draw_PIC->bgVisible) Draw_PIC->bgSize = Picture.Size();
  Draw_PIC->update();
}

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
  if (Menu_Tools_Forcolor->isChecked())
    ColorSltWindow->Open();
  else
    ColorSltWindow->CloseWindow();
}
