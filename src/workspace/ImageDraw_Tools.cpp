// Tool choice and palette switching.
#include <QAction>
#include <QLabel>
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
  // The text on show is stamped before its tool goes, as "确定" would.
  if (textWindow_->isVisible()) textWindow_->StampNow();
  State.PaletteIndex = static_cast<int16_t>(p);
  Action(Command(int(Command::Palette0) + p))->setChecked(true);
  for (int i = 1; i <= 50; ++i) {
    paletteButtons_[i - 1]->setIcon(PaletteImage(p * 50 + i));
    paletteButtons_[i - 1]->setChecked(false);
  }
  // The surface keeps its pointer and the parameter window stays as it is until the next choice.
  State.ToolId = ToolId::None;
  toolHint_->clear();
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
  ChooseTool(pressed ? ToolOfButton(State.PaletteIndex, buttonIndex) : ToolId::None);
}

void ImageDraw::ChooseTool(ToolId id) {
  if (id == ToolId::None) {
    ShowDefaultTips();
  } else {
    surface_->setToolTip(QString());
  }
  State.ToolId = id;
  toolHint_->clear();
  surface_->SetToolPointer(PointerOf(id), ToolFigureOf(id).gesture == Gesture::Eraser);

  HideSelection();
  Selection.Clear();

  // A typed text is never lost to another tool: it is stamped as "确定" would.
  if (textWindow_->isVisible() && id != ToolId::Text) textWindow_->StampNow();
  parameterWindow_->ToolChosen(ParameterPromptsOf(ToolNumber(id)));
}

void ImageDraw::ChooseToolByKey(Command key) {
  const ToolId tool = key == Command::TextTool   ? ToolId::Text
                      : key == Command::LineTool ? ToolId::StraightLine
                                                 : ToolId::Arrow;
  if (State.ToolId == tool) return;
  const int button = ButtonOfTool(tool);
  if (State.PaletteIndex == 0) {
    paletteButtons_[button - 1]->setChecked(true);
    SelectTool(button, true);
    return;
  }
  // The palette the user works in stays: none of its buttons is the tool, the hint names it.
  for (QToolButton* b : paletteButtons_) b->setChecked(false);
  ChooseTool(tool);
  toolHint_->setText(QStringLiteral("工具：") + QString::fromUtf8(CommandOf(key).caption));
}

ParameterValues ImageDraw::FigureParameters() const { return parameterWindow_->Values(); }
