#include "workspace/ImageDraw.h"

#include <QAbstractButton>
#include <QAction>
#include <QButtonGroup>
#include <QClipboard>
#include <QGuiApplication>
#include <QTimer>
#include <QToolButton>

#include "dialogs/ColorSlt.h"
#include "dialogs/SetData.h"
#include "dialogs/TypeTxt.h"
#include "resources/Images.h"
#include "workspace/DrawingArea.h"

ImageDraw::ImageDraw() : Picture(600, 220) {
  setObjectName("ImageDraw");
  setWindowTitle(QStringLiteral("※Quillmere※"));
  setAcceptDrops(true);
  BuildMenus();
  BuildToolbar();
  BuildPanels();
  BuildToolWindows();
  Form_Load();
}

ImageDraw::~ImageDraw() {
  // Hidden while the window is still whole: hiding moves the keyboard focus away from the surface,
  // whose focus handler reaches the window.
  hide();
}

void ImageDraw::Form_Load() {
  setWindowIcon(ProgramIcon());
  setMinimumSize(640, 420);
  resize(980, 660);

  // Line style: solid 1 px pressed; fill: transparent pressed.
  lineStyleButtons_->button(4)->setChecked(true);
  fillStyleButtons_->button(2)->setChecked(true);
  for (int i = 0; i < 50; ++i) paletteButtons_[i]->setIcon(PaletteImage(i + 1));

  // The picture: white, 600 x 220.
  Picture.Resize(600, 220);
  Picture.Clear();
  Picture.ChooseCompanion();

  HideSelection();

  ShowDefaultTips();
  LoadPaletteTips(0);
  CanvasResized();
  // Paste follows the clipboard's change notices. On X11 the clipboard can also empty without a
  // notice reaching us (its owner exits and no clipboard manager keeps the picture), so there a
  // poll checks it every 200 ms as well.
  connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this, [this] { RefreshPasteCommand(); });
  if (QGuiApplication::platformName() == QLatin1String("xcb")) clipboardPoll_->start();
  RefreshPasteCommand();
  UpdateCommands();
}

void ImageDraw::Refresh() {
  const QRect damage = Picture.TakeScreenDamage();
  area_->RepaintPicture(damage);
}

void ImageDraw::changeEvent(QEvent* event) {
  // The tool windows hide with the minimised main window and come back with it; they stay open.
  if (event->type() == QEvent::WindowStateChange) colorWindow_->FollowMainWindow(!isMinimized());
  QMainWindow::changeEvent(event);
}
