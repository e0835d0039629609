// The menus, the command toolbar Tbar and the selection's pop-up menu: one QAction per command,
// shown in the menu and, where it has one, on the toolbar.
#include <QActionGroup>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>

#include "resources/Images.h"
#include "workspace/ImageDraw.h"

namespace {

QAction* MakeAction(QObject* parent, const char* name, const char* caption) {
  auto* a = new QAction(QString::fromUtf8(caption), parent);
  a->setObjectName(QString::fromLatin1(name));
  return a;
}

QMenu* MakeMenu(QMenuBar* bar, const char* name, const char* caption) {
  QMenu* menu = bar->addMenu(QString::fromUtf8(caption));
  menu->setObjectName(QString::fromLatin1(name));
  return menu;
}

}  // namespace

std::array<QAction*, 12> ImageDraw::RotateCommands() const {
  return {flipHorizontal_,  flipVertical_,     rotateClockwise30_, rotateClockwise45_,
          rotateClockwise60_, rotateClockwise90_, rotateCounter30_,  rotateCounter45_,
          rotateCounter60_, rotateCounter90_,  turnClockwise1_,    turnCounter1_};
}

void ImageDraw::BuildMenus() {
  QMenuBar* bar = menuBar();
  bar->setContextMenuPolicy(Qt::PreventContextMenu);  // no pop-up that could hide the toolbar

  QMenu* file = MakeMenu(bar, "Menu_File", "文件(&F)");
  newPicture_ = MakeAction(this, "Menu_File_New", "新建图像");
  openPicture_ = MakeAction(this, "Menu_File_Open", "打开文件");
  savePicture_ = MakeAction(this, "Menu_File_Save", "保存图像");
  exit_ = MakeAction(this, "Menu_File_Exit", "退出");
  file->addActions({newPicture_, openPicture_, savePicture_});
  file->addSeparator();
  file->addAction(exit_);

  QMenu* edit = MakeMenu(bar, "Menu_Edit", "编辑(&E)");
  undo_ = MakeAction(this, "Menu_Edit_Undo", "取消");
  redo_ = MakeAction(this, "Menu_Edit_Redo", "重复");
  copy_ = MakeAction(this, "Menu_Edit_Copy", "复制");
  cut_ = MakeAction(this, "Menu_Edit_Cut", "剪切");
  paste_ = MakeAction(this, "Menu_Edit_Paster", "粘贴");
  delete_ = MakeAction(this, "Menu_Edit_Del", "删除");
  copy_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_C));
  paste_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_V));
  delete_->setShortcut(QKeySequence(Qt::Key_Delete));
  // Delete and Ctrl+C also arrive as keys on the canvas, which handles them itself; the shortcuts
  // must not swallow them there.
  for (QAction* a : {copy_, paste_, delete_}) a->setShortcutContext(Qt::WindowShortcut);
  edit->addActions({undo_, redo_});
  edit->addSeparator();
  edit->addActions({copy_, cut_, paste_, delete_});

  QMenu* rot = MakeMenu(bar, "Menu_Rot", "旋转");
  flipHorizontal_ = MakeAction(this, "Menu_Rot_Sp", "水平翻转");
  flipVertical_ = MakeAction(this, "Menu_Rot_Sz", "竖直翻转");
  rotateClockwise30_ = MakeAction(this, "Menu_Rot_Nss", "顺时针转30度");
  rotateClockwise45_ = MakeAction(this, "Menu_Rot_Nsw", "顺时针转45度");
  rotateClockwise60_ = MakeAction(this, "Menu_Rot_Nsl", "顺时针转60度");
  rotateClockwise90_ = MakeAction(this, "Menu_Rot_Njs", "顺时针转90度");
  rotateCounter30_ = MakeAction(this, "Menu_Rot_Nls", "逆时针转30度");
  rotateCounter45_ = MakeAction(this, "Menu_Rot_Nlw", "逆时针转45度");
  rotateCounter60_ = MakeAction(this, "Menu_Rot_Nll", "逆时针转60度");
  rotateCounter90_ = MakeAction(this, "Menu_Rot_Nlj", "逆时针转90度");
  turnClockwise1_ = MakeAction(this, "Menu_Rot_S", "顺时针微调1度");
  turnCounter1_ = MakeAction(this, "Menu_Rot_Z", "逆时针微调1度");
  rot->addActions({flipHorizontal_, flipVertical_});
  rot->addSeparator();
  rot->addActions({rotateClockwise30_, rotateClockwise45_, rotateClockwise60_, rotateClockwise90_});
  rot->addSeparator();
  rot->addActions({rotateCounter30_, rotateCounter45_, rotateCounter60_, rotateCounter90_});
  rot->addSeparator();
  rot->addActions({turnClockwise1_, turnCounter1_});

  QMenu* tools = MakeMenu(bar, "Menu_Tools", "设置(&S)");
  guideLines_ = MakeAction(this, "Menu_Tools_Line", "辅助线");
  backgroundPattern_ = MakeAction(this, "Menu_Tools_BGLine", "背景底纹");
  font_ = MakeAction(this, "Menu_Tools_Font", "字体");
  colorChooser_ = MakeAction(this, "Menu_Tools_Forcolor", "前景色");
  for (QAction* a : {guideLines_, backgroundPattern_, colorChooser_}) a->setCheckable(true);
  tools->addActions({guideLines_, backgroundPattern_});
  tools->addSeparator();
  tools->addActions({font_, colorChooser_});

  QMenu* view = MakeMenu(bar, "Menu_View", "作图(&V)");
  const char* const paletteNames[4][2] = {
      {"Menu_View_cy", "常用图形"}, {"Menu_View_xz", "电场磁场"}, {"Menu_View_fh", "立体几何"}, {"Menu_View_hs", "综合图形"}};
  paletteGroup_ = new QActionGroup(this);
  paletteGroup_->setExclusive(true);
  for (int p = 0; p < 4; ++p) {
    paletteActions_[p] = MakeAction(this, paletteNames[p][0], paletteNames[p][1]);
    paletteActions_[p]->setCheckable(true);
    paletteGroup_->addAction(paletteActions_[p]);
    view->addAction(paletteActions_[p]);
    if (p == 0) view->addSeparator();
  }
  paletteActions_[0]->setChecked(true);

  // The zoom: 放大, 缩小, 实际大小. Each acts only while no mouse button is held (ZoomAvailable).
  zoomIn_ = MakeAction(this, "Menu_View_ZoomIn", "放大");
  zoomOut_ = MakeAction(this, "Menu_View_ZoomOut", "缩小");
  zoomActual_ = MakeAction(this, "Menu_View_ZoomActual", "实际大小");
  zoomIn_->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Plus), QKeySequence(Qt::CTRL | Qt::Key_Equal)});
  zoomOut_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Minus));
  zoomActual_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_0));
  zoomOut_->setEnabled(false);  // at 100 % already
  zoomActual_->setEnabled(false);
  view->addSeparator();
  view->addActions({zoomIn_, zoomOut_, zoomActual_});
  connect(zoomIn_, &QAction::triggered, this, [this] { ZoomIn(); });
  connect(zoomOut_, &QAction::triggered, this, [this] { ZoomOut(); });
  connect(zoomActual_, &QAction::triggered, this, [this] { ZoomActual(); });

  QMenu* help = MakeMenu(bar, "Menu_Help", "帮助(&H)");
  programHelp_ = MakeAction(this, "Menu_Help_help", "软件说明");
  checkUpdates_ = MakeAction(this, "Menu_Help_web", "检查更新");
  mailMe_ = MakeAction(this, "Menu_Help_MailME", "与我联系");
  guestbook_ = MakeAction(this, "Menu_Help_LiuYan", "给我留言");
  about_ = MakeAction(this, "Menu_Help_about", "关于");
  help->addAction(programHelp_);
  help->addSeparator();
  help->addActions({checkUpdates_, mailMe_, guestbook_});
  help->addSeparator();
  help->addAction(about_);

  // The pop-up menu of the floating selection, never in the menu bar.
  selectionMenu_ = new QMenu(QStringLiteral("弹出菜单"), this);
  selectionMenu_->setObjectName("PM");
  menuCopy_ = MakeAction(selectionMenu_, "PM_Copy", "复制");
  menuCut_ = MakeAction(selectionMenu_, "PM_Cut", "剪切");
  menuDelete_ = MakeAction(selectionMenu_, "PM_Del", "删除");
  menuCancel_ = MakeAction(selectionMenu_, "PM_Cancel", "取消");
  selectionMenu_->addActions({menuCopy_, menuCut_, menuDelete_});
  selectionMenu_->addSeparator();
  selectionMenu_->addAction(menuCancel_);
}

void ImageDraw::BuildToolbar() {
  commandBar_ = addToolBar(QStringLiteral("工具栏"));
  commandBar_->setObjectName("Tbar");
  commandBar_->setMovable(false);
  commandBar_->setContextMenuPolicy(Qt::PreventContextMenu);  // no pop-up that could hide the toolbar
  commandBar_->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
  commandBar_->setIconSize(QSize(24, 24));
  // Toolbar captions and images, in order; a separator between the groups.
  struct Item {
    QAction* action;
    const char* caption;
    int image;
  };
  const Item groups[][5] = {
      {{newPicture_, "新建", 1}, {openPicture_, "打开", 2}, {savePicture_, "保存", 3}, {}},
      {{undo_, "取消", 4}, {redo_, "重复", 5}, {copy_, "复制", 6}, {paste_, "粘贴", 7}, {delete_, "删除", 8}},
      {{flipHorizontal_, "平翻", 9}, {flipVertical_, "竖翻", 10}, {turnClockwise1_, "顺转", 11}, {turnCounter1_, "逆转", 12}, {}},
      {{guideLines_, "辅助", 13}, {backgroundPattern_, "底纹", 14}, {colorChooser_, "颜色", 15}, {}},
      {{paletteActions_[0], "常用", 16}, {paletteActions_[1], "电磁", 17}, {paletteActions_[2], "立几", 18},
       {paletteActions_[3], "综合", 19}, {}},
  };
  for (const auto& group : groups) {
    commandBar_->addSeparator();
    for (const Item& item : group) {
      if (!item.action) break;
      item.action->setIconText(QString::fromUtf8(item.caption));
      item.action->setIcon(ToolbarImage(item.image));
      item.action->setIconVisibleInMenu(!item.action->isCheckable());  // the menu shows its check mark
      commandBar_->addAction(item.action);
    }
  }
}

void ImageDraw::ConnectCommands() {
  auto on = [this](QAction* action, auto&& handler) { connect(action, &QAction::triggered, this, handler); };
  on(newPicture_, [this] { NewPicture(); });
  on(openPicture_, [this] { OpenPicture(); });
  on(savePicture_, [this] { SavePicture(); });
  on(exit_, [this] { ExitProgram(); });
  on(undo_, [this] { UndoStep(); });
  on(redo_, [this] { RedoStep(); });
  on(copy_, [this] { CopySelection(); });
  on(cut_, [this] { CutSelection(); });
  on(paste_, [this] { PasteClipboard(); });
  on(delete_, [this] { DeleteSelection(); });
  on(flipHorizontal_, [this] { FlipSelection(true); });
  on(flipVertical_, [this] { FlipSelection(false); });
  const std::pair<QAction*, double> steps[] = {
      {rotateClockwise30_, 30}, {rotateClockwise45_, 45}, {rotateClockwise60_, 60}, {rotateClockwise90_, 90},
      {rotateCounter30_, -30},  {rotateCounter45_, -45},  {rotateCounter60_, -60},  {rotateCounter90_, -90},
      {turnClockwise1_, 1},     {turnCounter1_, -1}};
  for (const auto& [action, degrees] : steps) {
    const double d = degrees;
    on(action, [this, d] { RotateSelection(d); });
  }
  on(guideLines_, [this] { ToggleGuideLines(); });
  on(backgroundPattern_, [this] { ToggleBackground(); });
  on(font_, [this] { ChooseFont(); });
  on(colorChooser_, [this] { ToggleColorChooser(); });
  for (int p = 0; p < 4; ++p) on(paletteActions_[p], [this, p] { SelectPalette(p); });
  on(programHelp_, [this] { ShowProgramDescription(); });
  on(checkUpdates_, [this] { OpenUpdatePage(); });
  on(mailMe_, [this] { OpenMailTo(); });
  on(guestbook_, [this] { OpenGuestbook(); });
  on(about_, [this] { ShowAbout(); });
  on(menuCopy_, [this] { CopySelection(); });
  on(menuCut_, [this] { CutSelection(); });
  on(menuDelete_, [this] { DeleteSelection(); });
  on(menuCancel_, [this] { HideSelection(); });
}
