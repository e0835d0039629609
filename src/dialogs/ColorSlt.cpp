#include "dialogs/ColorSlt.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHideEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QVBoxLayout>

#include "dialogs/DialogSeam.h"

namespace {

// The swatches as they stand on screen: rows from dark to light, columns grey, red, orange,
// yellow, green, cyan, blue, magenta. Each cell holds the swatch's index and its colour.
struct Cell {
  int index;
  QRgb color;
};
constexpr int kRows = 4, kColumns = 8;
constexpr Cell kLayout[kRows][kColumns] = {
    {{4, qRgb(0, 0, 0)}, {0, qRgb(192, 0, 0)}, {12, qRgb(192, 64, 0)}, {8, qRgb(192, 192, 0)},
     {27, qRgb(0, 192, 0)}, {31, qRgb(0, 192, 192)}, {19, qRgb(0, 0, 192)}, {23, qRgb(192, 0, 192)}},
    {{5, qRgb(128, 128, 128)}, {1, qRgb(255, 0, 0)}, {13, qRgb(255, 128, 0)}, {9, qRgb(255, 255, 0)},
     {26, qRgb(0, 255, 0)}, {30, qRgb(0, 255, 255)}, {18, qRgb(0, 0, 255)}, {22, qRgb(255, 0, 255)}},
    {{6, qRgb(192, 192, 192)}, {2, qRgb(255, 128, 128)}, {14, qRgb(255, 192, 128)},
     {10, qRgb(255, 255, 128)}, {25, qRgb(128, 255, 128)}, {29, qRgb(128, 255, 255)},
     {17, qRgb(128, 128, 255)}, {21, qRgb(255, 128, 255)}},
    {{7, qRgb(224, 224, 224)}, {3, qRgb(255, 192, 192)}, {15, qRgb(255, 224, 192)},
     {11, qRgb(255, 255, 192)}, {24, qRgb(192, 255, 192)}, {28, qRgb(192, 255, 255)},
     {16, qRgb(192, 192, 255)}, {20, qRgb(255, 192, 255)}},
};

constexpr int kSwatchSide = 16;

}  // namespace

QRgb ColorSlt::SwatchColor(int index) {
  for (const auto& row : kLayout)
    for (const Cell& cell : row)
      if (cell.index == index) return cell.color;
  return qRgb(0, 0, 0);
}

ColorSlt::ColorSlt(QRgb current, QWidget* mainWindow)
    : QWidget(mainWindow, Qt::Tool | Qt::WindowStaysOnTopHint), mainWindow_(mainWindow), current_(current) {
  setObjectName(QStringLiteral("ColorSlt"));
  setWindowTitle(QStringLiteral("选取前景色："));
}

void ColorSlt::Build() {
  // The swatches are made when the window first opens: the program's start need not wait for them.
  if (swatchFrame_) return;
  swatchFrame_ = new QFrame(this);
  swatchFrame_->setObjectName(QStringLiteral("cl"));
  swatchFrame_->setFrameShape(QFrame::StyledPanel);
  auto* grid = new QGridLayout(swatchFrame_);
  grid->setSpacing(3);
  grid->setContentsMargins(4, 4, 4, 4);
  for (int r = 0; r < kRows; ++r) {
    for (int c = 0; c < kColumns; ++c) {
      const Cell& cell = kLayout[r][c];
      auto* swatch = new QLabel(swatchFrame_);
      swatch->setObjectName(QStringLiteral("FColor%1").arg(cell.index));
      swatch->setFixedSize(kSwatchSide, kSwatchSide);
      swatch->setFrameShape(QFrame::Box);
      swatch->setAutoFillBackground(true);
      QPalette p = swatch->palette();
      p.setColor(QPalette::Window, QColor(cell.color));
      swatch->setPalette(p);
      swatch->setCursor(Qt::PointingHandCursor);
      swatch->installEventFilter(this);
      swatches_[cell.index] = swatch;
      grid->addWidget(swatch, r, c);
    }
  }

  currentFrame_ = new QFrame(this);
  currentFrame_->setObjectName(QStringLiteral("Frame1"));
  currentFrame_->setFrameShape(QFrame::StyledPanel);
  currentColor_ = new QLabel(QStringLiteral("当前"), currentFrame_);
  currentColor_->setObjectName(QStringLiteral("TxtColor"));
  currentColor_->setAlignment(Qt::AlignCenter);
  QPalette tp = currentColor_->palette();
  tp.setColor(QPalette::WindowText, QColor(current_));
  currentColor_->setPalette(tp);
  moreColors_ = new QLabel(QStringLiteral("更多"), currentFrame_);
  moreColors_->setObjectName(QStringLiteral("MoreColor"));
  moreColors_->setAlignment(Qt::AlignCenter);
  moreColors_->setCursor(Qt::PointingHandCursor);
  moreColors_->setToolTip(QStringLiteral("选取其他颜色"));
  moreColors_->installEventFilter(this);
  auto* side = new QVBoxLayout(currentFrame_);
  side->setContentsMargins(4, 4, 4, 4);
  side->addWidget(currentColor_);
  side->addWidget(moreColors_);

  auto* outer = new QHBoxLayout(this);
  outer->setContentsMargins(4, 4, 4, 4);
  outer->addWidget(swatchFrame_);
  outer->addWidget(currentFrame_);
  setFixedSize(sizeHint());
}

bool ColorSlt::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseButtonRelease &&
      static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
    auto* label = qobject_cast<QLabel*>(watched);
    if (label && label->rect().contains(static_cast<QMouseEvent*>(event)->position().toPoint())) {
      if (label == moreColors_) {
        ChooseMoreColor();
        return true;
      }
      for (int i = 0; i < 32; ++i) {
        if (swatches_[i] == label) {
          ChooseColor(SwatchColor(i));
          return true;
        }
      }
    }
  }
  return QWidget::eventFilter(watched, event);
}

void ColorSlt::ChooseColor(QRgb c) {
  QPalette p = currentColor_->palette();
  p.setColor(QPalette::WindowText, QColor(c));
  currentColor_->setPalette(p);
  current_ = c;
  emit ColorChosen(c);
}

void ColorSlt::ChooseMoreColor() {
  const std::optional<QColor> chosen = Dialogs().PickColor(this, QColor(current_));
  if (!chosen || !chosen->isValid()) return;  // cancelled: nothing changes
  ChooseColor(qRgb(chosen->red(), chosen->green(), chosen->blue()));
}

void ColorSlt::Open() {
  Build();
  if (open_) {
    show();
    raise();
    return;
  }
  open_ = true;
  show();
  PlaceAtMainWindow();
}

void ColorSlt::CloseWindow() { close(); }

void ColorSlt::PlaceAtMainWindow() {
  if (!mainWindow_) return;
  // Lower left of the main window: left edge 1 pixel beyond the main window's, bottom edge 1 pixel
  // up from its bottom, outer frames on both sides.
  const QRect main = mainWindow_->frameGeometry();
  const QSize own = frameGeometry().size();
  move(main.x() - 1, main.y() + main.height() - own.height() - 1);
}

void ColorSlt::FollowMainWindow(bool shown) {
  if (!open_) return;
  if (shown) {
    followingMain_ = false;
    show();
  } else {
    followingMain_ = true;
    hide();
  }
}

void ColorSlt::hideEvent(QHideEvent* event) {
  QWidget::hideEvent(event);
  // Hidden with the main window (by the window system or by FollowMainWindow): that is no closing.
  if (event->spontaneous() || followingMain_ || !open_) return;
  open_ = false;
  emit Closed();
}
