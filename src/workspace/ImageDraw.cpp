#include "workspace/ImageDraw.h"

#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QScrollBar>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "dialogs/ColorSlt.h"
#include "dialogs/SetData.h"
#include "dialogs/TypeTxt.h"
#include "resources/Images.h"
#include "workspace/DrawingSurface.h"
#include "workspace/Viewport.h"

namespace {

QAction* MakeAction(QObject* parent, const char* name, const QString& caption) {
  auto* a = new QAction(caption, parent);
  a->setObjectName(QString::fromLatin1(name));
  return a;
}

// Side of a palette button and of the images on it, in device-independent pixels.
constexpr int kPaletteIcon = 24;

}  // namespace

ImageDraw::ImageDraw() : Picture(600, 220) {
  setObjectName("ImageDraw");
  setWindowTitle(QStringLiteral("※Quillmere※"));
  BuildMenus();
  BuildToolbar();
  BuildPanels();
  BuildToolWindows();
  ConnectCommands();
  Form_Load();
}

ImageDraw::~ImageDraw() = default;

void ImageDraw::BuildMenus() {
  QMenuBar* bar = menuBar();
  bar->setContextMenuPolicy(Qt::PreventContextMenu);  // no pop-up that could hide the toolbar

  QMenu* file = bar->addMenu(QStringLiteral("文件(&F)"));
  file->setObjectName("Menu_File");
  Menu_File_New = MakeAction(this, "Menu_File_New", QStringLiteral("新建图像"));
  Menu_File_Open = MakeAction(this, "Menu_File_Open", QStringLiteral("打开文件"));
  Menu_File_Save = MakeAction(this, "Menu_File_Save", QStringLiteral("保存图像"));
  Menu_File_Exit = MakeAction(this, "Menu_File_Exit", QStringLiteral("退出"));
  file->addAction(Menu_File_New);
  file->addAction(Menu_File_Open);
  file->addAction(Menu_File_Save);
  file->addSeparator();
  file->addAction(Menu_File_Exit);

  QMenu* edit = bar->addMenu(QStringLiteral("编辑(&E)"));
  edit->setObjectName("Menu_Edit");
  Menu_Edit_Undo = MakeAction(this, "Menu_Edit_Undo", QStringLiteral("取消"));
  Menu_Edit_Redo = MakeAction(this, "Menu_Edit_Redo", QStringLiteral("重复"));
  Menu_Edit_Copy = MakeAction(this, "Menu_Edit_Copy", QStringLiteral("复制"));
  Menu_Edit_Cut = MakeAction(this, "Menu_Edit_Cut", QStringLiteral("剪切"));
  Menu_Edit_Paster = MakeAction(this, "Menu_Edit_Paster", QStringLiteral("粘贴"));
  Menu_Edit_Del = MakeAction(this, "Menu_Edit_Del", QStringLiteral("删除"));
  Menu_Edit_Copy->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_C));
  Menu_Edit_Paster->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_V));
  Menu_Edit_Del->setShortcut(QKeySequence(Qt::Key_Delete));
  // Delete and Ctrl+C also arrive as keys on the canvas, which handles them itself; the shortcuts
  // must not swallow them there.
  for (QAction* a : {Menu_Edit_Copy, Menu_Edit_Paster, Menu_Edit_Del}) a->setShortcutContext(Qt::WindowShortcut);
  edit->addAction(Menu_Edit_Undo);
  edit->addAction(Menu_Edit_Redo);
  edit->addSeparator();
  edit->addAction(Menu_Edit_Copy);
  edit->addAction(Menu_Edit_Cut);
  edit->addAction(Menu_Edit_Paster);
  edit->addAction(Menu_Edit_Del);

  QMenu* rot = bar->addMenu(QStringLiteral("旋转"));
  rot->setObjectName("Menu_Rot");
  Menu_Rot_Sp = MakeAction(this, "Menu_Rot_Sp", QStringLiteral("水平翻转"));
  Menu_Rot_Sz = MakeAction(this, "Menu_Rot_Sz", QStringLiteral("竖直翻转"));
  Menu_Rot_Nss = MakeAction(this, "Menu_Rot_Nss", QStringLiteral("顺时针转30度"));
  Menu_Rot_Nsw = MakeAction(this, "Menu_Rot_Nsw", QStringLiteral("顺时针转45度"));
  Menu_Rot_Nsl = MakeAction(this, "Menu_Rot_Nsl", QStringLiteral("顺时针转60度"));
  Menu_Rot_Njs = MakeAction(this, "Menu_Rot_Njs", QStringLiteral("顺时针转90度"));
  Menu_Rot_Nls = MakeAction(this, "Menu_Rot_Nls", QStringLiteral("逆时针转30度"));
  Menu_Rot_Nlw = MakeAction(this, "Menu_Rot_Nlw", QStringLiteral("逆时针转45度"));
  Menu_Rot_Nll = MakeAction(this, "Menu_Rot_Nll", QStringLiteral("逆时针转60度"));
  Menu_Rot_Nlj = MakeAction(this, "Menu_Rot_Nlj", QStringLiteral("逆时针转90度"));
  Menu_Rot_S = MakeAction(this, "Menu_Rot_S", QStringLiteral("顺时针微调1度"));
  Menu_Rot_Z = MakeAction(this, "Menu_Rot_Z", QStringLiteral("逆时针微调1度"));
  rot->addAction(Menu_Rot_Sp);
  rot->addAction(Menu_Rot_Sz);
  rot->addSeparator();
  for (QAction* a : {Menu_Rot_Nss, Menu_Rot_Nsw, Menu_Rot_Nsl, Menu_Rot_Njs}) rot->addAction(a);
  rot->addSeparator();
  for (QAction* a : {Menu_Rot_Nls, Menu_Rot_Nlw, Menu_Rot_Nll, Menu_Rot_Nlj}) rot->addAction(a);
  rot->addSeparator();
  rot->addAction(Menu_Rot_S);
  rot->addAction(Menu_Rot_Z);

  QMenu* tools = bar->addMenu(QStringLiteral("设置(&S)"));
  tools->setObjectName("Menu_Tools");
  Menu_Tools_Line = MakeAction(this, "Menu_Tools_Line", QStringLiteral("辅助线"));
  Menu_Tools_BGLine = MakeAction(this, "Menu_Tools_BGLine", QStringLiteral("背景底纹"));
  Menu_Tools_Font = MakeAction(this, "Menu_Tools_Font", QStringLiteral("字体"));
  Menu_Tools_Forcolor = MakeAction(this, "Menu_Tools_Forcolor", QStringLiteral("前景色"));
  for (QAction* a : {Menu_Tools_Line, Menu_Tools_BGLine, Menu_Tools_Forcolor}) a->setCheckable(true);
  tools->addAction(Menu_Tools_Line);
  tools->addAction(Menu_Tools_BGLine);
  tools->addSeparator();
  tools->addAction(Menu_Tools_Font);
  tools->addAction(Menu_Tools_Forcolor);

  QMenu* view = bar->addMenu(QStringLiteral("作图(&V)"));
  view->setObjectName("Menu_View");
  Menu_View_cy = MakeAction(this, "Menu_View_cy", QStringLiteral("常用图形"));
  Menu_View_xz = MakeAction(this, "Menu_View_xz", QStringLiteral("电场磁场"));
  Menu_View_fh = MakeAction(this, "Menu_View_fh", QStringLiteral("立体几何"));
  Menu_View_hs = MakeAction(this, "Menu_View_hs", QStringLiteral("综合图形"));
  PaletteGroup = new QActionGroup(this);
  PaletteGroup->setExclusive(true);
  for (QAction* a : {Menu_View_cy, Menu_View_xz, Menu_View_fh, Menu_View_hs}) {
    a->setCheckable(true);
    PaletteGroup->addAction(a);
  }
  Menu_View_cy->setChecked(true);
  view->addAction(Menu_View_cy);
  view->addSeparator();
  view->addAction(Menu_View_xz);
  view->addAction(Menu_View_fh);
  view->addAction(Menu_View_hs);

  QMenu* help = bar->addMenu(QStringLiteral("帮助(&H)"));
  help->setObjectName("Menu_Help");
  Menu_Help_help = MakeAction(this, "Menu_Help_help", QStringLiteral("软件说明"));
  Menu_Help_web = MakeAction(this, "Menu_Help_web", QStringLiteral("检查更新"));
  Menu_Help_MailME = MakeAction(this, "Menu_Help_MailME", QStringLiteral("与我联系"));
  Menu_Help_LiuYan = MakeAction(this, "Menu_Help_LiuYan", QStringLiteral("给我留言"));
  Menu_Help_about = MakeAction(this, "Menu_Help_about", QStringLiteral("关于"));
  help->addAction(Menu_Help_help);
  help->addSeparator();
  help->addAction(Menu_Help_web);
  help->addAction(Menu_Help_MailME);
  help->addAction(Menu_Help_LiuYan);
  help->addSeparator();
  help->addAction(Menu_Help_about);

  // The pop-up menu of the floating selection, never in the menu bar.
  PM = new QMenu(QStringLiteral("弹出菜单"), this);
  PM->setObjectName("PM");
  PM_Copy = MakeAction(PM, "PM_Copy", QStringLiteral("复制"));
  PM_Cut = MakeAction(PM, "PM_Cut", QStringLiteral("剪切"));
  PM_Del = MakeAction(PM, "PM_Del", QStringLiteral("删除"));
  PM_Cancel = MakeAction(PM, "PM_Cancel", QStringLiteral("取消"));
  PM->addAction(PM_Copy);
  PM->addAction(PM_Cut);
  PM->addAction(PM_Del);
  PM->addSeparator();
  PM->addAction(PM_Cancel);
}

void ImageDraw::BuildToolbar() {
  Tbar = addToolBar(QStringLiteral("工具栏"));
  Tbar->setObjectName("Tbar");
  Tbar->setMovable(false);
  Tbar->setContextMenuPolicy(Qt::PreventContextMenu);  // no pop-up that could hide the toolbar
  Tbar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
  Tbar->setIconSize(QSize(24, 24));
  // Toolbar captions and images, in order; a separator between the groups.
  struct Item {
    QAction* action;
    const char* caption;
    int image;
  };
  const Item groups[][8] = {
      {{Menu_File_New, "新建", 1}, {Menu_File_Open, "打开", 2}, {Menu_File_Save, "保存", 3}, {}},
      {{Menu_Edit_Undo, "取消", 4},
       {Menu_Edit_Redo, "重复", 5},
       {Menu_Edit_Copy, "复制", 6},
       {Menu_Edit_Paster, "粘贴", 7},
       {Menu_Edit_Del, "删除", 8},
       {}},
      {{Menu_Rot_Sp, "平翻", 9}, {Menu_Rot_Sz, "竖翻", 10}, {Menu_Rot_S, "顺转", 11}, {Menu_Rot_Z, "逆转", 12}, {}},
      {{Menu_Tools_Line, "辅助", 13}, {Menu_Tools_BGLine, "底纹", 14}, {Menu_Tools_Forcolor, "颜色", 15}, {}},
      {{Menu_View_cy, "常用", 16}, {Menu_View_xz, "电磁", 17}, {Menu_View_fh, "立几", 18}, {Menu_View_hs, "综合", 19}, {}},
  };
  for (const auto& group : groups) {
    Tbar->addSeparator();
    for (const Item& item : group) {
      if (!item.action) break;
      item.action->setIconText(QString::fromUtf8(item.caption));
      item.action->setIcon(ToolbarImage(item.image));
      item.action->setIconVisibleInMenu(!item.action->isCheckable());  // the menu shows its check mark
      Tbar->addAction(item.action);
    }
  }
}

void ImageDraw::BuildPanels() {
  BG_Pic = new QWidget(this);
  BG_Pic->setObjectName("BG_Pic");
  setCentralWidget(BG_Pic);
  auto* outer = new QHBoxLayout(BG_Pic);
  outer->setContentsMargins(2, 0, 0, 2);
  outer->setSpacing(2);

  // Left column: the palette, then the style panel.
  auto* left = new QWidget(BG_Pic);
  auto* leftLayout = new QVBoxLayout(left);
  leftLayout->setContentsMargins(0, 0, 0, 0);
  leftLayout->setSpacing(2);

  jb = new QWidget(left);
  jb->setObjectName("jb");
  auto* grid = new QGridLayout(jb);
  grid->setContentsMargins(1, 1, 1, 1);
  grid->setSpacing(0);
  for (int i = 0; i < 50; ++i) {
    auto* b = new QToolButton(jb);
    b->setObjectName(QStringLiteral("Tools%1").arg(i + 1));
    b->setCheckable(true);
    b->setAutoRaise(true);
    b->setIconSize(QSize(kPaletteIcon, kPaletteIcon));
    b->setFixedSize(kPaletteIcon + 4, kPaletteIcon + 4);
    b->setFocusPolicy(Qt::NoFocus);
    grid->addWidget(b, i / 5, i % 5);
    const int index = i + 1;
    connect(b, &QToolButton::clicked, this, [this, b, index] { SelectTool(index, b->isChecked()); });
    Tools[i] = b;
  }
  leftLayout->addWidget(jb);

  SETsty = new QWidget(left);
  SETsty->setObjectName("SETsty");
  auto* sty = new QGridLayout(SETsty);
  sty->setContentsMargins(1, 4, 1, 1);
  sty->setSpacing(1);
  auto* lineCaption = new QLabel(QStringLiteral("设定线型"), SETsty);
  sty->addWidget(lineCaption, 0, 0, 1, 4);
  for (int i = 0; i < 6; ++i) {
    auto* b = new QToolButton(SETsty);
    b->setObjectName(QStringLiteral("LStay%1").arg(i + 1));
    b->setCheckable(true);
    b->setAutoRaise(true);
    b->setIconSize(QSize(40, 14));
    b->setFocusPolicy(Qt::NoFocus);
    b->setIcon(ToolbarImage(i + 20));
    const int index = i + 1;
    connect(b, &QToolButton::clicked, this, [this, index] { ChooseLineStyle(index); });
    sty->addWidget(b, 1 + i / 3, i % 3);
    LStay[i] = b;
  }
  auto* fillCaption = new QLabel(QStringLiteral("设定闭合图形填充模式"), SETsty);
  sty->addWidget(fillCaption, 3, 0, 1, 4);
  for (int i = 0; i < 8; ++i) {
    auto* b = new QToolButton(SETsty);
    b->setObjectName(QStringLiteral("FStay%1").arg(i + 1));
    b->setCheckable(true);
    b->setAutoRaise(true);
    b->setIconSize(QSize(28, 14));
    b->setFocusPolicy(Qt::NoFocus);
    b->setIcon(ToolbarImage(i + 26));
    const int index = i + 1;
    connect(b, &QToolButton::clicked, this, [this, index] { ChooseFillStyle(index); });
    sty->addWidget(b, 4 + i / 4, i % 4);
    FStay[i] = b;
  }
  auto* readouts = new QWidget(SETsty);
  auto* ro = new QHBoxLayout(readouts);
  ro->setContentsMargins(0, 4, 0, 0);
  DxLb = new QLabel(readouts);
  DxLb->setObjectName("DxLb");
  DyLb = new QLabel(readouts);
  DyLb->setObjectName("DyLb");
  DxLb->setMinimumWidth(36);
  DyLb->setMinimumWidth(36);
  ro->addWidget(new QLabel(QStringLiteral("△X:"), readouts));
  ro->addWidget(DxLb);
  ro->addWidget(new QLabel(QStringLiteral("△Y:"), readouts));
  ro->addWidget(DyLb);
  ro->addStretch();
  sty->addWidget(readouts, 6, 0, 1, 4);
  leftLayout->addWidget(SETsty);
  leftLayout->addStretch();
  outer->addWidget(left, 0);

  // The drawing area: viewport, surface, selection frame, scroll bars and resize handles.
  F_PIC = new Viewport(this, BG_Pic);
  F_PIC->setObjectName("F_PIC");
  Draw_PIC = new DrawingSurface(this, F_PIC);
  Draw_PIC->setObjectName("Draw_PIC");
  SelectIMG = new SelectionFrame(this, Draw_PIC);
  SelectIMG->setObjectName("SelectIMG");
  HScr = new QScrollBar(Qt::Horizontal, F_PIC);
  HScr->setObjectName("HScr");
  VScr = new QScrollBar(Qt::Vertical, F_PIC);
  VScr->setObjectName("VScr");
  RL = new ResizeHandle(this, F_PIC, Qt::SizeHorCursor, true, false);
  RL->setObjectName("RL");
  UD = new ResizeHandle(this, F_PIC, Qt::SizeVerCursor, false, true);
  UD->setObjectName("UD");
  RLUD = new ResizeHandle(this, F_PIC, Qt::SizeFDiagCursor, true, true);
  RLUD->setObjectName("RLUD");
  for (ResizeHandle* h : {RL, UD, RLUD}) h->hide();
  connect(HScr, &QScrollBar::valueChanged, this, [this] { ScrollCanvas(); });
  connect(VScr, &QScrollBar::valueChanged, this, [this] { ScrollCanvas(); });
  outer->addWidget(F_PIC, 1);

  TM = new QTimer(this);
  TM->setInterval(200);
  connect(TM, &QTimer::timeout, this, [this] { RefreshPasteCommand(); });
}

void ImageDraw::BuildToolWindows() {
  SetDataWindow = new SetData(this);
  TypeTxtWindow = new TypeTxt(Picture, this);
  TypeTxtWindow->SurfaceChanged = [this] { Refresh(); };
  TypeTxtWindow->Committed = [this] {
    // Stamped text is work: it is protected by the save prompt and can be undone.
    State.ImageChanged = true;
    EnableUndo();
  };
  ColorSltWindow = new ColorSlt(Picture, this);
  ColorSltWindow->Closed = [this] { Menu_Tools_Forcolor->setChecked(false); };
}

void ImageDraw::ConnectCommands() {
  connect(Menu_File_New, &QAction::triggered, this, [this] { NewPicture(); });
  connect(Menu_File_Open, &QAction::triggered, this, [this] { OpenPicture(); });
  connect(Menu_File_Save, &QAction::triggered, this, [this] { SavePicture(); });
  connect(Menu_File_Exit, &QAction::triggered, this, [this] { ExitProgram(); });
  connect(Menu_Edit_Undo, &QAction::triggered, this, [this] { UndoStep(); });
  connect(Menu_Edit_Redo, &QAction::triggered, this, [this] { RedoStep(); });
  connect(Menu_Edit_Copy, &QAction::triggered, this, [this] { CopySelection(); });
  connect(Menu_Edit_Cut, &QAction::triggered, this, [this] { CutSelection(); });
  connect(Menu_Edit_Paster, &QAction::triggered, this, [this] { PasteClipboard(); });
  connect(Menu_Edit_Del, &QAction::triggered, this, [this] { DeleteSelection(); });
  connect(Menu_Rot_Sp, &QAction::triggered, this, [this] { FlipHorizontal(); });
  connect(Menu_Rot_Sz, &QAction::triggered, this, [this] { FlipVertical(); });
  const std::pair<QAction*, double> steps[] = {
      {Menu_Rot_Nss, 30}, {Menu_Rot_Nsw, 45},  {Menu_Rot_Nsl, 60},  {Menu_Rot_Njs, 90},
      {Menu_Rot_Nls, -30}, {Menu_Rot_Nlw, -45}, {Menu_Rot_Nll, -60}, {Menu_Rot_Nlj, -90},
      {Menu_Rot_S, 1},    {Menu_Rot_Z, -1}};
  for (const auto& [action, degrees] : steps) {
    const double d = degrees;
    connect(action, &QAction::triggered, this, [this, d] { RotateSelection(d); });
  }
  connect(Menu_Tools_Line, &QAction::triggered, this, [this] { ToggleGuideLines(); });
  connect(Menu_Tools_BGLine, &QAction::triggered, this, [this] { ToggleBackground(); });
  connect(Menu_Tools_Font, &QAction::triggered, this, [this] { ChooseFont(); });
  connect(Menu_Tools_Forcolor, &QAction::triggered, this, [this] { ToggleColorChooser(); });
  connect(Menu_View_cy, &QAction::triggered, this, [this] { SelectPalette(0); });
  connect(Menu_View_xz, &QAction::triggered, this, [this] { SelectPalette(1); });
  connect(Menu_View_fh, &QAction::triggered, this, [this] { SelectPalette(2); });
  connect(Menu_View_hs, &QAction::triggered, this, [this] { SelectPalette(3); });
  connect(Menu_Help_help, &QAction::triggered, this, [this] { ShowProgramDescription(); });
  connect(Menu_Help_web, &QAction::triggered, this, [this] { OpenUpdatePage(); });
  connect(Menu_Help_MailME, &QAction::triggered, this, [this] { OpenMailTo(); });
  connect(Menu_Help_LiuYan, &QAction::triggered, this, [this] { OpenGuestbook(); });
  connect(Menu_Help_about, &QAction::triggered, this, [this] { ShowAbout(); });
  connect(PM_Copy, &QAction::triggered, this, [this] { CopySelection(); });
  connect(PM_Cut, &QAction::triggered, this, [this] { CutSelection(); });
  connect(PM_Del, &QAction::triggered, this, [this] { DeleteSelection(); });
  connect(PM_Cancel, &QAction::triggered, this, [this] { ShowSelectionFrame(false, Sel.border); });
}

void ImageDraw::Form_Load() {
  setWindowIcon(ProgramIcon());
  setMinimumSize(640, 420);
  resize(980, 660);

  // Line style: solid 1 px pressed; fill: transparent pressed.
  LStay[3]->setChecked(true);
  FStay[1]->setChecked(true);
  for (int i = 0; i < 50; ++i) Tools[i]->setIcon(PaletteImage(i + 1));

  // The picture: white, 600 x 220.
  Picture.Resize(600, 220);
  Picture.Clear();
  Draw_PIC->move(0, 0);
  Draw_PIC->resize(Picture.Width(), Picture.Height());

  ShowSelectionFrame(false, false);

  for (QAction* a : {Menu_Edit_Undo, Menu_Edit_Redo, Menu_Edit_Copy, Menu_Edit_Cut, Menu_Edit_Paster,
                     Menu_Edit_Del})
    a->setEnabled(false);
  SetRotateMenus(false);
  for (QAction* a : {Menu_Rot_Sp, Menu_Rot_Sz, Menu_Rot_S, Menu_Rot_Z}) a->setEnabled(false);

  ShowDefaultTips();
  LoadPaletteTips(0);
  CanvasResized();
  TM->start();
}

void ImageDraw::RunToolbarCommand(const QString& caption) {
  const std::pair<const char*, QAction*> rows[] = {
      {"新建", Menu_File_New},   {"打开", Menu_File_Open},      {"保存", Menu_File_Save},
      {"取消", Menu_Edit_Undo},  {"重复", Menu_Edit_Redo},      {"复制", Menu_Edit_Copy},
      {"粘贴", Menu_Edit_Paster}, {"删除", Menu_Edit_Del},       {"辅助", Menu_Tools_Line},
      {"底纹", Menu_Tools_BGLine}, {"颜色", Menu_Tools_Forcolor}, {"平翻", Menu_Rot_Sp},
      {"竖翻", Menu_Rot_Sz},     {"顺转", Menu_Rot_S},          {"逆转", Menu_Rot_Z},
      {"常用", Menu_View_cy},    {"电磁", Menu_View_xz},        {"立几", Menu_View_fh},
      {"综合", Menu_View_hs}};
  for (const auto& [text, action] : rows) {
    if (caption == QString::fromUtf8(text)) {
      if (action->isEnabled()) action->trigger();
      return;
    }
  }
}

void ImageDraw::Refresh() { Draw_PIC->RefreshDamage(); }

void ImageDraw::changeEvent(QEvent* event) {
  if (event->type() == QEvent::WindowStateChange && isMinimized() && ColorSltWindow &&
      ColorSltWindow->isVisible())
    ColorSltWindow->hide();
  QMainWindow::changeEvent(event);
}

void ImageDraw::resizeEvent(QResizeEvent* event) { QMainWindow::resizeEvent(event); }
