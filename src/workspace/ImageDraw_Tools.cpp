// Tool choice and palette switching.
#include <QAction>
#include <QToolButton>

#include "dialogs/SetData.h"
#include "dialogs/TypeTxt.h"
#include "figures/ToolTable.h"
#include "resources/Images.h"
#include "workspace/DrawingSurface.h"
#include "workspace/ImageDraw.h"
#include "workspace/ToolCatalogue.h"

void ImageDraw::ShowDefaultTips() {
  surface_->setToolTip(QStringLiteral("选取作图功能并设定颜色、线型及填充模式后在此按下鼠标左键拖动作图"));
  selectionFrame_->setToolTip(QStringLiteral("鼠标左键按住可移动，也可用键盘上下左右键操作"));
}

void ImageDraw::LoadPaletteTips(int p) {
  paletteButtons_[0]->setToolTip(QString::fromUtf8(kSelectionTooltip));
  for (int i = 2; i <= 50; ++i) paletteButtons_[i - 1]->setToolTip(ToolTooltip(p * 50 + i));
}

void ImageDraw::SelectPalette(int p) {
  if (p < 0 || p > 3) return;
  State.PaletteIndex = static_cast<int16_t>(p);
  Action(Command(int(Command::Palette0) + p))->setChecked(true);
  for (int i = 1; i <= 50; ++i) {
    paletteButtons_[i - 1]->setIcon(PaletteImage(p * 50 + i));
    paletteButtons_[i - 1]->setChecked(false);
  }
  // The surface keeps its pointer and the parameter window stays as it is until the next choice.
  State.ToolId = ToolId::None;
  LoadPaletteTips(p);
}

namespace {
// The pointer over the picture for a tool.
QCursor PointerOf(ToolId tool) {
  switch (ToolFigureOf(tool).gesture) {
    case Gesture::Eraser: return EraserCursor();
    case Gesture::Text: return QCursor(Qt::IBeamCursor);
    case Gesture::Fill: return FillCursor();
    default: return QCursor(tool == ToolId::None ? Qt::ArrowCursor : Qt::CrossCursor);
  }
}
}  // namespace

void ImageDraw::SelectTool(int buttonIndex, bool pressed) {
  if (buttonIndex < 1 || buttonIndex > 50) return;
  const int previous = ButtonOfTool(State.ToolId);
  if (previous > 0 && previous != buttonIndex) paletteButtons_[previous - 1]->setChecked(false);
  ToolId id = ToolId::None;
  if (pressed) {
    id = ToolOfButton(State.PaletteIndex, buttonIndex);
    surface_->setToolTip(QString());
  } else {
    ShowDefaultTips();
  }
  State.ToolId = id;
  surface_->SetToolPointer(PointerOf(id), ToolFigureOf(id).gesture == Gesture::Eraser);

  HideSelection();
  Selection.Clear();

  if (textWindow_->isVisible() && id != ToolId::Text) textWindow_->CloseWindow();
  parameterWindow_->ToolChosen(ParameterPromptsOf(ToolNumber(id)));
}

void ImageDraw::ChooseToolByKey(ToolId tool) {
  if (State.ToolId == tool) return;
  if (State.PaletteIndex != 0) SelectPalette(0);
  const int button = ButtonOfTool(tool);
  paletteButtons_[button - 1]->setChecked(true);
  SelectTool(button, true);
}

ParameterValues ImageDraw::FigureParameters() const { return parameterWindow_->Values(); }
