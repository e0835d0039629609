#pragma once
#include <QKeySequence>
#include <span>

#include "resources/Images.h"

class ImageDraw;

// Every command of the main window, by name.
enum class Command {
  New, Open, Save, Exit,
  ExportHighResolution, Print, PrintPreview, CopyHighResolution,  // the picture leaves for paper
  Undo, Redo, Copy, Cut, Paste, Delete, SelectAll,
  FlipHorizontal, FlipVertical,
  Clockwise30, Clockwise45, Clockwise60, Clockwise90,
  Counter30, Counter45, Counter60, Counter90,
  TurnClockwise1, TurnCounter1,
  GuideLines, BackgroundPattern, Font, ColorChooser,
  Palette0, Palette1, Palette2, Palette3,
  TextTool, LineTool, ArrowTool,  // the label tools, whatever palette shows
  ZoomIn, ZoomOut, ZoomActual,
  ProgramHelp, CheckUpdates, MailMe, Guestbook, About,
  DropSelection,  // the pop-up's 取消: the frame goes, the pixels stay
  Count_          // the number of commands
};

// The menu a command is shown in (None: only in the selection's pop-up).
enum class CommandMenu { None, File, Edit, Rot, Tools, View, Help };

// When a command is offered. Its menu entry, toolbar button, pop-up entry and keys follow.
enum class Availability {
  Always,
  Selection,         // while the floating selection's frame shows
  Undo,              // one step of undo is there
  Redo,              // one step of redo is there
  ClipboardPicture,  // the clipboard holds a picture
  Enlargeable,       // the view is below its largest zoom
  Enlarged,          // the view is above 100 %
};

// One row of the command table: the command's names, where it shows, its keys, what it runs and
// when it is offered. The menus, the toolbar, the pop-up and the shortcuts are built from the rows.
// A toolbar group starts at each menu's first button. Rows name their fields; a field a row leaves
// out keeps the default given here.
struct CommandRow {
  Command id = Command::Count_;
  const char* objectName = nullptr;  // the menu entry's object name (Menu_Edit_Copy); nullptr: pop-up only
  const char* popupName = nullptr;   // the pop-up entry's object name (PM_Copy); nullptr: not in the pop-up
  const char* caption = "";          // in the menu and the pop-up
  CommandMenu menu = CommandMenu::None;
  bool separatorBefore = false;          // a separator line before the entry in its menu (and in the pop-up)
  const char* toolbarCaption = nullptr;  // the caption on Tbar; nullptr: no button
  ToolbarPicture toolbarPicture = ToolbarPicture::None;  // the picture on its Tbar button
  bool checkable = false;
  // Changes, saves or reads the picture: a text preview is stamped first. (新建, 打开 and 退出 are
  // not marked: they ask about the preview with the rest of the unsaved work.)
  bool touchesPicture = false;
  Availability availability = Availability::Always;
  void (*run)(ImageDraw&) = nullptr;
  // The keys, shown in the menu; at most three.
  QKeySequence keys[3] = {};
};

// The rows, in menu order.
std::span<const CommandRow> CommandTable();
// The row of a command.
const CommandRow& CommandOf(Command id);
