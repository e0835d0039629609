#include "workspace/ImageDraw.h"

#include <QAbstractButton>
#include <QAction>
#include <QButtonGroup>
#include <QClipboard>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>
#include <QToolButton>

#include "dialogs/ColorSlt.h"
#include "dialogs/SetData.h"
#include "dialogs/TypeTxt.h"
#include "resources/Images.h"
#include "workspace/DrawingArea.h"

namespace {

void PhaseDone(const char* phase) {
  if (ImageDraw::StartupPhaseDone) ImageDraw::StartupPhaseDone(phase);
}

}  // namespace

ImageDraw::ImageDraw() : Picture(600, 220) {
  setObjectName("ImageDraw");
  setWindowTitle(QStringLiteral("※Quillmere※"));
  setAcceptDrops(true);
  PhaseDone("window");
  BuildMenus();
  PhaseDone("menus");
  BuildToolbar();
  PhaseDone("toolbar");
  BuildPanels();
  PhaseDone("panels");
  BuildToolWindows();
  PhaseDone("tool_windows");
  Form_Load();
  KeepRecoveryCopy();
}

ImageDraw::~ImageDraw() {
  // Hidden while the window is still whole: hiding moves the keyboard focus away from the surface,
  // whose focus handler reaches the window.
  hide();
}

void ImageDraw::Form_Load() {
  setWindowIcon(ProgramIcon());
  FitScreen();
  PhaseDone("icon");

  // Line style: solid 1 px pressed; fill: transparent pressed.
  lineStyleButtons_->button(4)->setChecked(true);
  fillStyleButtons_->button(2)->setChecked(true);
  for (int i = 0; i < 50; ++i) paletteButtons_[i]->setIcon(PaletteImage(i + 1));
  PhaseDone("palette_images");

  // The picture: white, 600 x 220.
  Picture.Resize(600, 220);
  Picture.Clear();
  Picture.ChooseCompanion();
  PhaseDone("picture");

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
  PhaseDone("start_state");
}

void ImageDraw::FitScreen() {
  // The window's size, in device-independent pixels, where the screen has room for it.
  const QSize wanted(980, 660), least(640, 420);
  const QScreen* shown = screen() ? screen() : QGuiApplication::primaryScreen();
  if (!shown) {
    setMinimumSize(least);
    resize(wanted);
    return;
  }
  // The screen's free area at its scale, less what the desktop puts around the window (not known
  // before the window shows: room for a title bar and borders). On a smaller screen the window
  // starts smaller: the tool panel scrolls and the picture has its scroll bars.
  const QRect free = shown->availableGeometry();
  const QSize room = free.size().shrunkBy(kFrameAllowance).expandedTo(QSize(1, 1));
  setMinimumSize(least.boundedTo(room));
  resize(wanted.boundedTo(room));
  // Too large to be placed anywhere else: the frame at the free area's top-left corner.
  if (wanted.width() > room.width() || wanted.height() > room.height()) move(free.topLeft());
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
