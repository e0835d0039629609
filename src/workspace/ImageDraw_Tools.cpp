// Tool choice and palette switching.
#include <QToolButton>

#include "dialogs/SetData.h"
#include "dialogs/TypeTxt.h"
#include "resources/Images.h"
#include "workspace/DrawingSurface.h"
#include "workspace/ImageDraw.h"
#include "workspace/ToolCatalogue.h"

void ImageDraw::ShowDefaultTips() {
  Draw_PIC->setToolTip(QStringLiteral("选取作图功能并设定颜色、线型及填充模式后在此按下鼠标左键拖动作图"));
  SelectIMG->setToolTip(QStringLiteral("鼠标左键按住可移动，也可用键盘上下左右键操作"));
}

void ImageDraw::LoadPaletteTips(int p) {
  Tools[0]->setToolTip(QString::fromUtf8(kSelectionTooltip));
  for (int i = 2; i <= 50; ++i) Tools[i - 1]->setToolTip(ToolTooltip(p * 50 + i));
}

void ImageDraw::SelectPalette(int p) {
  if (p < 0 || p > 3) return;
  State.PaletteIndex = static_cast<int16_t>(p);
  QAction* entries[] = {Menu_View_cy, Menu_View_xz, Menu_View_fh, Menu_View_hs};
  for (int i = 0; i < 4; ++i) entries[i]->setChecked(i == p);
  for (int i = 1; i <= 50; ++i) {
    Tools[i - 1]->setIcon(PaletteImage(p * 50 + i));
    Tools[i - 1]->setChecked(false);
  }
  // The surface keeps its pointer and the parameter window stays as it is until the next choice.
  State.ToolId = 0;
  LoadPaletteTips(p);
}

void ImageDraw::SelectTool(int buttonIndex, bool pressed) {
  if (buttonIndex < 1 || buttonIndex > 50) return;
  if (State.ToolId > 0) {
    int previous = State.ToolId % 50;
    if (previous == 0) previous = 50;
    if (previous != buttonIndex) Tools[previous - 1]->setChecked(false);
  }
  int id = 0;
  if (pressed) {
    id = State.PaletteIndex * 50 + buttonIndex;
    Draw_PIC->setToolTip(QString());
  } else {
    ShowDefaultTips();
  }
  if (id == 51 || id == 101 || id == 151) id = 1;
  State.ToolId = static_cast<int16_t>(id);

  switch (id) {
    case 0: Draw_PIC->setCursor(Qt::ArrowCursor); break;
    case 2: Draw_PIC->setCursor(EraserCursor()); break;
    case 3: Draw_PIC->setCursor(Qt::IBeamCursor); break;
    case 24: Draw_PIC->setCursor(FillCursor()); break;
    default: Draw_PIC->setCursor(Qt::CrossCursor); break;
  }

  ShowSelectionFrame(false, false);
  Sel.Rot = QImage();
  Sel.IMG_Select = QImage();
  Sel.IMG_Slt = QImage();
  SetEditCommands(false);
  SetRotateMenus(false);
  for (QAction* a : {Menu_Rot_Sp, Menu_Rot_Sz, Menu_Rot_S, Menu_Rot_Z}) a->setEnabled(false);

  if (TypeTxtWindow->isVisible() && State.ToolId != 3) TypeTxtWindow->CloseWindow();
  SetDataWindow->ToolChosen(State.ToolId);
}

ParameterValues ImageDraw::FigureParameters() const { return SetDataWindow->Values(); }
