// The panels of the window: the palette Tools, the style panel SETsty with the read-outs, the
// drawing area (viewport, surface, selection frame, scroll bars, resize handles), and the three
// tool windows.
#include <QButtonGroup>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QScrollArea>
#include <QScrollBar>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include "dialogs/ColorSlt.h"
#include "dialogs/SetData.h"
#include "dialogs/TypeTxt.h"
#include "resources/Images.h"
#include "workspace/DrawingArea.h"
#include "workspace/ImageDraw.h"

namespace {

// Side of a palette button and of the images on it, in device-independent pixels.
constexpr int kPaletteIcon = 24;

QToolButton* MakeButton(QWidget* parent, const QString& name, QSize iconSize) {
  auto* b = new QToolButton(parent);
  b->setObjectName(name);
  b->setCheckable(true);
  b->setAutoRaise(true);
  b->setIconSize(iconSize);
  b->setFocusPolicy(Qt::NoFocus);
  return b;
}

// An exclusive row of style buttons LStay1.. or FStay1..: button i shows the style picture i - 1
// places after `first`.
QButtonGroup* StyleButtons(QWidget* panel, QGridLayout* grid, const char* name, int count, StylePicture first,
                           QSize iconSize, int row, int perRow) {
  auto* group = new QButtonGroup(panel);
  group->setExclusive(true);
  for (int i = 1; i <= count; ++i) {
    QToolButton* b = MakeButton(panel, QStringLiteral("%1%2").arg(QLatin1String(name)).arg(i), iconSize);
    b->setIcon(StyleImage(StylePicture(int(first) + i - 1)));
    group->addButton(b, i);
    grid->addWidget(b, row + (i - 1) / perRow, (i - 1) % perRow);
  }
  return group;
}

// The left column in a scroll area of its own: on a screen too low for the palette and the style
// panel the column scrolls, and the window still fits the screen. It is as wide as the column,
// and wider by the scroll bar only while the bar shows.
class ToolPanelScroll : public QScrollArea {
 public:
  ToolPanelScroll(QWidget* column, QWidget* parent) : QScrollArea(parent) {
    setObjectName("ToolPanel");
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setWidgetResizable(true);
    setWidget(column);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
    connect(verticalScrollBar(), &QScrollBar::rangeChanged, this, [this] { updateGeometry(); });
  }
  QSize sizeHint() const override {
    QSize s = widget()->sizeHint();
    if (verticalScrollBar()->maximum() > 0) s.rwidth() += verticalScrollBar()->sizeHint().width();
    return s;
  }
  QSize minimumSizeHint() const override { return {sizeHint().width(), 0}; }
};

}  // namespace

void ImageDraw::BuildPanels() {
  background_ = new QWidget(this);
  background_->setObjectName("BG_Pic");
  setCentralWidget(background_);
  auto* outer = new QHBoxLayout(background_);
  outer->setContentsMargins(2, 0, 0, 2);
  outer->setSpacing(2);

  // Left column: the palette, then the style panel.
  auto* left = new QWidget(background_);
  auto* leftLayout = new QVBoxLayout(left);
  leftLayout->setContentsMargins(0, 0, 0, 0);
  leftLayout->setSpacing(2);

  palettePanel_ = new QWidget(left);
  palettePanel_->setObjectName("jb");
  auto* grid = new QGridLayout(palettePanel_);
  grid->setContentsMargins(1, 1, 1, 1);
  grid->setSpacing(0);
  for (int i = 0; i < 50; ++i) {
    QToolButton* b = MakeButton(palettePanel_, QStringLiteral("Tools%1").arg(i + 1), QSize(kPaletteIcon, kPaletteIcon));
    b->setFixedSize(kPaletteIcon + 4, kPaletteIcon + 4);
    grid->addWidget(b, i / 5, i % 5);
    const int index = i + 1;
    connect(b, &QToolButton::clicked, this, [this, b, index] { SelectTool(index, b->isChecked()); });
    paletteButtons_[i] = b;
  }
  leftLayout->addWidget(palettePanel_);

  stylePanel_ = new QWidget(left);
  stylePanel_->setObjectName("SETsty");
  auto* sty = new QGridLayout(stylePanel_);
  sty->setContentsMargins(1, 4, 1, 1);
  sty->setSpacing(1);
  sty->addWidget(new QLabel(QStringLiteral("设定线型"), stylePanel_), 0, 0, 1, 4);
  lineStyleButtons_ = StyleButtons(stylePanel_, sty, "LStay", 6, StylePicture::LineDashed, QSize(40, 14), 1, 3);
  sty->addWidget(new QLabel(QStringLiteral("设定闭合图形填充模式"), stylePanel_), 3, 0, 1, 4);
  fillStyleButtons_ = StyleButtons(stylePanel_, sty, "FStay", 8, StylePicture::FillSolid, QSize(28, 14), 4, 4);
  connect(lineStyleButtons_, &QButtonGroup::idClicked, this, [this](int id) { ChooseLineStyle(id); });
  connect(fillStyleButtons_, &QButtonGroup::idClicked, this, [this](int id) { ChooseFillStyle(id); });

  auto* readouts = new QWidget(stylePanel_);
  auto* ro = new QHBoxLayout(readouts);
  ro->setContentsMargins(0, 4, 0, 0);
  dxReadout_ = new QLabel(readouts);
  dxReadout_->setObjectName("DxLb");
  dyReadout_ = new QLabel(readouts);
  dyReadout_->setObjectName("DyLb");
  dxReadout_->setMinimumWidth(36);
  dyReadout_->setMinimumWidth(36);
  ro->addWidget(new QLabel(QStringLiteral("△X:"), readouts));
  ro->addWidget(dxReadout_);
  ro->addWidget(new QLabel(QStringLiteral("△Y:"), readouts));
  ro->addWidget(dyReadout_);
  // The zoom level beside the read-outs.
  zoomReadout_ = new QLabel(QStringLiteral("100%"), readouts);
  zoomReadout_->setObjectName("ZoomLb");
  ro->addWidget(zoomReadout_);
  ro->addStretch();
  sty->addWidget(readouts, 6, 0, 1, 4);
  // The hint under the read-outs: the tool a key chose on another palette, or that none is chosen.
  // It wraps rather than widen the panel; one line is kept for it so that nothing moves.
  toolHint_ = new QLabel(stylePanel_);
  toolHint_->setObjectName("ToolHint");
  toolHint_->setTextFormat(Qt::PlainText);
  toolHint_->setWordWrap(true);
  toolHint_->setMinimumHeight(toolHint_->fontMetrics().height());
  sty->addWidget(toolHint_, 7, 0, 1, 4);
  leftLayout->addWidget(stylePanel_);
  leftLayout->addStretch();
  outer->addWidget(new ToolPanelScroll(left, background_), 0);

  // The drawing area: viewport, surface, selection frame, scroll bars and resize handles.
  area_ = new DrawingArea(this, Picture, background_);
  surface_ = area_->Surface();
  selectionFrame_ = area_->Frame();
  outer->addWidget(area_, 1);

  clipboardPoll_ = new QTimer(this);
  clipboardPoll_->setObjectName("TM");
  clipboardPoll_->setInterval(200);
  connect(clipboardPoll_, &QTimer::timeout, this, [this] { RefreshPasteCommand(); });
}

void ImageDraw::BuildToolWindows() {
  parameterWindow_ = new SetData(this);
  textWindow_ = new TypeTxt(this);
  connect(textWindow_, &TypeTxt::PreviewWanted, this, [this](const QString& text) { PreviewText(text); });
  connect(textWindow_, &TypeTxt::Stamped, this, [this](const QString& text) { StampText(text); });
  connect(textWindow_, &TypeTxt::PreviewRemoved, this, [this] { RemoveTextPreview(); });
  connect(textWindow_, &TypeTxt::FontSizeChosen, this, [this](double points) { Picture.Font.setPointSizeF(points); });
  colorWindow_ = new ColorSlt(Picture.ForeColor, this);
  connect(colorWindow_, &ColorSlt::ColorChosen, this, [this](QRgb c) { ChooseColor(c); });
  connect(colorWindow_, &ColorSlt::Closed, this, [this] { Action(Command::ColorChooser)->setChecked(false); });
}
