// The menus, the command toolbar Tbar and the selection's pop-up menu, built from the command
// table: one QAction per command, shown in its menu and, where it has one, on the toolbar; the
// pop-up has entries of its own that run the same commands.
#include <QAbstractSpinBox>
#include <QActionGroup>
#include <QApplication>
#include <QComboBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QToolBar>

#include "dialogs/TypeTxt.h"
#include "resources/Images.h"
#include "workspace/DrawingArea.h"
#include "workspace/ImageDraw.h"
#include "workspace/ViewTransform.h"

namespace {

// A command's action. Its keys reach it only while the window says they are live; a key that is
// not live goes nowhere (a text box with the focus has already kept the keys it edits with).
class CommandAction : public QAction {
 public:
  CommandAction(const QString& caption, QObject* parent, const ImageDraw* window)
      : QAction(caption, parent), window_(window) {}

 protected:
  bool event(QEvent* e) override {
    if (e->type() == QEvent::Shortcut && !window_->ShortcutsLive()) return true;
    return QAction::event(e);
  }

 private:
  const ImageDraw* window_;
};

const char* MenuName(CommandMenu m) {
  switch (m) {
    case CommandMenu::File: return "Menu_File";
    case CommandMenu::Edit: return "Menu_Edit";
    case CommandMenu::Rot: return "Menu_Rot";
    case CommandMenu::Tools: return "Menu_Tools";
    case CommandMenu::View: return "Menu_View";
    case CommandMenu::Help: return "Menu_Help";
    case CommandMenu::None: break;
  }
  return nullptr;
}

const char* MenuCaption(CommandMenu m) {
  switch (m) {
    case CommandMenu::File: return "文件(&F)";
    case CommandMenu::Edit: return "编辑(&E)";
    case CommandMenu::Rot: return "旋转";
    case CommandMenu::Tools: return "设置(&S)";
    case CommandMenu::View: return "作图(&V)";
    case CommandMenu::Help: return "帮助(&H)";
    case CommandMenu::None: break;
  }
  return "";
}

bool IsTextBox(const QWidget* w) {
  if (const auto* box = qobject_cast<const QComboBox*>(w)) return box->isEditable();
  return qobject_cast<const QLineEdit*>(w) || qobject_cast<const QAbstractSpinBox*>(w) ||
         qobject_cast<const QTextEdit*>(w) || qobject_cast<const QPlainTextEdit*>(w);
}

}  // namespace

QAction* ImageDraw::Action(Command id) const { return actions_[size_t(id)]; }

void ImageDraw::BuildMenus() {
  QMenuBar* bar = menuBar();
  bar->setContextMenuPolicy(Qt::PreventContextMenu);  // no pop-up that could hide the toolbar
  selectionMenu_ = new QMenu(QStringLiteral("弹出菜单"), this);
  selectionMenu_->setObjectName("PM");  // the selection's own menu, never in the menu bar
  paletteGroup_ = new QActionGroup(this);
  paletteGroup_->setExclusive(true);

  QMenu* menu = nullptr;
  CommandMenu current = CommandMenu::None;
  for (const CommandRow& row : Commands()) {
    const QString caption = QString::fromUtf8(row.caption);
    const Command id = row.id;
    auto run = [this, id] { RunCommand(id); };
    if (row.objectName) {
      if (!menu || row.menu != current) {
        menu = bar->addMenu(QString::fromUtf8(MenuCaption(row.menu)));
        menu->setObjectName(QString::fromLatin1(MenuName(row.menu)));
        current = row.menu;
      } else if (row.separatorBefore) {
        menu->addSeparator();
      }
      auto* a = new CommandAction(caption, this, this);
      a->setObjectName(QString::fromLatin1(row.objectName));
      a->setCheckable(row.checkable);
      QList<QKeySequence> keys;
      for (const QKeySequence& k : row.keys)
        if (!k.isEmpty()) keys << k;
      a->setShortcuts(keys);
      // Live in the main window and its tool windows alike; ShortcutsLive() decides the rest.
      a->setShortcutContext(Qt::ApplicationShortcut);
      if (row.id >= Command::Palette0 && row.id <= Command::Palette3) paletteGroup_->addAction(a);
      connect(a, &QAction::triggered, this, run);
      menu->addAction(a);
      actions_[size_t(id)] = a;
    }
    if (row.popupName) {
      if (row.separatorBefore && !selectionMenu_->isEmpty()) selectionMenu_->addSeparator();
      auto* a = new QAction(caption, selectionMenu_);
      a->setObjectName(QString::fromLatin1(row.popupName));
      connect(a, &QAction::triggered, this, run);
      selectionMenu_->addAction(a);
      popupActions_[size_t(id)] = a;
    }
  }
  Action(Command::Palette0)->setChecked(true);
}

void ImageDraw::BuildToolbar() {
  commandBar_ = addToolBar(QStringLiteral("工具栏"));
  commandBar_->setObjectName("Tbar");
  commandBar_->setMovable(false);
  commandBar_->setContextMenuPolicy(Qt::PreventContextMenu);  // no pop-up that could hide the toolbar
  commandBar_->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
  commandBar_->setIconSize(QSize(24, 24));
  // Each menu's buttons form a group, with a separator before it.
  CommandMenu group = CommandMenu::None;
  for (const CommandRow& row : Commands()) {
    if (!row.toolbarCaption) continue;
    if (row.menu != group) commandBar_->addSeparator();
    group = row.menu;
    QAction* a = Action(row.id);
    a->setIconText(QString::fromUtf8(row.toolbarCaption));
    a->setIcon(ToolbarImage(row.toolbarPicture));
    a->setIconVisibleInMenu(!a->isCheckable());  // the menu shows its check mark instead
    commandBar_->addAction(a);
  }
}

bool ImageDraw::Available(Availability rule) const {
  switch (rule) {
    case Availability::Always: return true;
    case Availability::Selection: return Selection.Visible();
    case Availability::Undo: return State.UndoAvailable;
    case Availability::Redo: return State.RedoAvailable;
    case Availability::ClipboardPicture: return clipboardHasPicture_;
    case Availability::Enlargeable: return area_ && area_->Zoom() < std::end(kZoomLevels)[-1];
    case Availability::Enlarged: return area_ && area_->Zoom() > kZoomLevels[0];
  }
  return false;
}

void ImageDraw::UpdateCommands() {
  for (const CommandRow& row : Commands()) {
    const bool on = Available(row.availability);
    if (QAction* a = actions_[size_t(row.id)]) a->setEnabled(on);
    if (QAction* a = popupActions_[size_t(row.id)]) a->setEnabled(on);
  }
}

bool ImageDraw::MouseButtonHeld() const {
  return QGuiApplication::mouseButtons() != Qt::NoButton || State.DragActive || Selection.Dragging();
}

bool ImageDraw::ShortcutsLive() const {
  if (MouseButtonHeld()) return false;
  // The keys belong to the text box that has the focus, in whichever of our windows.
  if (IsTextBox(QApplication::focusWidget())) return false;
  // The main window or one of its tool windows is the active one.
  const QWidget* active = QApplication::activeWindow();
  return active == this || (active && active->parentWidget() == this && active->windowType() == Qt::Tool);
}

void ImageDraw::RunCommand(Command id) {
  const CommandRow& row = CommandOf(id);
  // A command that comes while a button is held would fight the drag under way.
  if (MouseButtonHeld() || !Available(row.availability)) return;
  // The text on show is part of the picture before the picture is changed, saved or cleared.
  if (row.touchesPicture) StampTextPreview();
  row.run(*this);
  UpdateCommands();
}
