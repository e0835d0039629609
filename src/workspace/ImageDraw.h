#pragma once
#include <QMainWindow>
#include <QMargins>
#include <array>
#include <memory>

#include "document/FileStamp.h"
#include "document/PictureFormats.h"
#include "editing/FloatingSelection.h"
#include "editing/UndoHistory.h"
#include "figures/Canvas.h"
#include "workspace/CommandTable.h"
#include "workspace/RecoveryKeeper.h"
#include "workspace/SurfaceHandlers.h"
#include "workspace/WorkspaceState.h"

class QAction;
class QActionGroup;
class QButtonGroup;
class QLabel;
class QMimeData;
class QMenu;
class QTimer;
class QToolBar;
class QToolButton;
class ColorSlt;
class DrawingArea;
class DrawingSurface;
class SelectionFrame;
class SetData;
class TypeTxt;

// What tests and tools may read of the window's state.
struct WorkspaceView {
  const WorkspaceState& State;
  const Canvas& Picture;
  const FloatingSelection& Selection;
  const UndoHistory& History;
};

// The main window: the whole workspace. It owns the picture (Canvas), the drawing surface, the
// toolbars and menus, the tool windows and every piece of state the handlers share. Each window
// event lands in one handler named after what it does; the handlers are split over
// ImageDraw_*.cpp by menu and subsystem.
//
// Controls and commands carry the program's names as their object names ("Draw_PIC", "Tbar",
// "Menu_Edit_Undo", "Tools7", ...): that is how a control is found from outside.
class ImageDraw : public QMainWindow, public SurfaceHandlers {
  Q_OBJECT
 public:
  ImageDraw();
  ~ImageDraw() override;

  WorkspaceView View() const { return {State, Picture, Selection, History}; }

  // Start-up after the window's first paint (StartWorkspace.h): offers, one question each and
  // newest first, the recovery copies that instances which are gone left behind, then opens
  // `file` (`quillmere FILE`, empty for none) as 打开 would, unless a copy was recovered.
  void OfferRecoveryAndOpen(const QString& file);

  // Where the time of building the window goes: when set, called as each phase of it ends, with
  // the phase's name (the start-up probe prints them).
  static inline void (*StartupPhaseDone)(const char* phase) = nullptr;

  // The command table (workspace/CommandTable.h) and each command's action (its menu entry).
  static std::span<const CommandRow> Commands();
  QAction* Action(Command id) const;
  // Keys run their commands now: no mouse button is held, no text box has the focus, and the
  // main window or one of its tool windows is the active window.
  bool ShortcutsLive() const;

 protected:
  void closeEvent(QCloseEvent* event) override;
  void changeEvent(QEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  // ---- Building the window (ImageDraw_Menus.cpp, ImageDraw_Panels.cpp) ----
  void BuildMenus();
  void BuildToolbar();
  void BuildPanels();
  void BuildToolWindows();
  // ---- Start-up (ImageDraw.cpp) ----
  void Form_Load();
  // The window's starting size: 980 x 660, or less where the screen's free area is smaller (the
  // whole window, its frame included, stays on the screen at any device pixel ratio).
  void FitScreen();
  // Room left around the window for the desktop's title bar and borders.
  static constexpr QMargins kFrameAllowance{8, 40, 8, 8};
  // Repaints the part of the surface the canvas changed.
  void Refresh();

  // ---- Commands (ImageDraw_Menus.cpp, CommandTable.cpp) ----
  // What every menu entry, toolbar button, pop-up entry and key runs: the command's handler, only
  // while the command is offered and no mouse button is held.
  void RunCommand(Command id);
  bool Available(Availability rule) const;
  // Every command's entries follow its rule of availability.
  void UpdateCommands();
  // A mouse button is held, or a drag of a figure or of the selection is under way.
  bool MouseButtonHeld() const;

  // ---- Tool choice and palettes (ImageDraw_Tools.cpp) ----
  void SelectTool(int buttonIndex, bool pressed);
  void SelectPalette(int p);
  // The tool of a key command (T 文字, L 直线, A 箭头), a tool of 常用图形: chosen without switching
  // the palette. On 常用图形 its button shows pressed; on another palette every button is released
  // and the hint under the palette names the tool. The tool already chosen stays chosen.
  void ChooseToolByKey(Command key);
  // What choosing `id` does to the window, however it was chosen: the pointer, the selection, the
  // text on show (stamped, as "确定" would), the parameter window, the hint.
  void ChooseTool(ToolId id);
  void ShowDefaultTips();
  void LoadPaletteTips(int p);
  ParameterValues FigureParameters() const;

  // ---- Gesture pipeline (ImageDraw_Gesture.cpp) ----
  void BeginGesture(Qt::MouseButton button, Qt::KeyboardModifiers shift, double x, double y) override;
  void TrackGesture(Qt::MouseButtons buttons, Qt::KeyboardModifiers shift, double x, double y) override;
  void EndGesture(Qt::MouseButton button, Qt::KeyboardModifiers shift, double x, double y) override;
  // One move step of the drag to (x, y): the preview, the eraser's box, the stroke's segment.
  void DragStep(double x, double y);
  void ShowResizeHandles(bool byClick) override;
  void HideResizeHandles() override;

  // ---- Undo and redo (ImageDraw_Edit.cpp) ----
  void UndoStep();
  void RedoStep();
  void EnableUndo();

  // ---- Floating selection (ImageDraw_Selection.cpp) ----
  void SelectionPress(Qt::MouseButton button, double x, double y) override;
  void SelectionMove(Qt::MouseButtons buttons, double x, double y) override;
  void SelectionRelease(Qt::MouseButton button, double x, double y, QPoint globalPos) override;
  void CanvasKeyDown(int key, Qt::KeyboardModifiers mods, const QString& text) override;
  void CanvasKeyUp(int key, Qt::KeyboardModifiers mods, quint32 nativeVirtualKey) override;
  void NudgeSelection(int key);
  void HideSelection();
  // The frame, and the commands that act on the selection, follow the selection: Copy, Cut,
  // Delete and the flip and rotate commands are offered exactly while the frame is visible.
  void SyncSelection();
  // 全选: the whole picture becomes the selection, as a drag over it with the selection tool makes.
  void SelectAll();

  // ---- Flip and rotation (ImageDraw_Rot.cpp) ----
  void RotateSelection(double degrees);
  void FlipSelection(bool horizontal);

  // ---- Clipboard commands (ImageDraw_Clipboard.cpp) ----
  void CopySelection();
  void CutSelection();
  void PasteClipboard();
  // Makes `image` a floating selection with its top-left corner at `at` (picture pixels), as 粘贴
  // does; `size` is the size its data declared (a picture too large is refused with a message).
  // `fromOutside`: the picture comes from another program, and prints enlarged (EnlargedParts).
  void PastePicture(const QImage& image, QSize size, QPoint at, bool fromOutside);
  void DeleteSelection();
  void RefreshPasteCommand();

  // ---- Text tool (ImageDraw_Text.cpp) ----
  void OpenTextWindow(double x, double y);
  void PreviewText(const QString& text);
  void RemoveTextPreview();
  void StampText(const QString& text);
  // A text preview on show is stamped, as "确定" would.
  void StampTextPreview();
  // A typed text is previewed on the picture, not yet stamped: work the save question protects.
  bool TextPreviewShowing() const;
  // The picture, or a text previewed on it, holds work that is in no file.
  bool HoldsUnsavedWork() const { return State.ImageChanged || TextPreviewShowing(); }

  // ---- Picture files (ImageDraw_File.cpp) ----
  void NewPicture();
  void OpenPicture();
  // The save dialog; returns true when the picture was written.
  bool SavePicture();
  // The save dialog and the name rules: the final name and its format, or nothing when the save
  // was cancelled. An existing file is replaced only after the program's own question. `exporting`:
  // the dialog of 导出高清图像, which names PNG files only and never the picture's own file.
  std::optional<SaveTarget> AskSaveTarget(bool exporting = false);
  void ExitProgram();
  // The question before the picture is replaced ("是否保存改变", asked only while the picture holds
  // unsaved work). Returns true when the work may go on: nothing to save, saved, or 否. A
  // dismissed question, or 是 followed by a cancelled or failed save, returns false.
  bool AskToSaveChanges();
  // Reads the file at `path` and makes it the picture, at the file's size. A file that cannot be
  // read gets a message and leaves everything as it was. Returns true when the file was read.
  bool OpenFile(const QString& path);
  // Makes the picture read from a file the canvas's content, with the file's companion when it
  // kept one that can be trusted (else the pixels enlarged); notes whether detail is missing.
  void ShowOpenedPicture(const PictureRead& read);
  // The format the save dialog starts with: that of the picture's file, PNG for a new picture.
  const PictureFormat* SaveStartFormat() const;
  // The window caption for a picture from `path` (the start caption when empty).
  void ShowFileInCaption(const QString& path);

  // ---- Recovery copy (ImageDraw_Recovery.cpp) ----
  // The keeper follows ImageChanged from here on.
  void KeepRecoveryCopy();
  // A gesture is under way: a drag, a moving selection, a text on show.
  bool InGesture() const;
  RecoveryKeeper::Copy RecoveryCopyNow() const;
  // Offers the copies left behind; true when one was recovered.
  bool OfferRecoveredWork();
  // Makes a recovered copy the picture, as unsaved work of its file; false when it does not fit.
  bool ShowRecoveredPicture(const RecoveryRead& copy);

  // ---- The picture leaves for paper (ImageDraw_Paper.cpp) ----
  // 导出高清图像…, 打印… and 打印预览, 复制高清图: the high-resolution companion, with the resolution
  // that gives the picture its true size (the picture itself at 96 dpi when there is no companion).
  void ExportHighResolution();
  void PrintOnPaper(bool preview);
  void CopyHighResolution();
  QString lastExportName_;  // the export dialog's own name, apart from the picture's file

  // ---- Drops (ImageDraw_Drop.cpp) ----
  // What was dropped at `at` (picture pixels): one local file opens as 打开文件 would, picture data
  // becomes a floating selection there; anything else is refused with a message.
  void DropData(const QMimeData& data, QPointF at);

  // ---- Settings (ImageDraw_Settings.cpp) ----
  void ChooseLineStyle(int button);  // LStay 1..6
  void ChooseFillStyle(int button);  // FStay 1..8
  void ToggleGuideLines();
  void ToggleBackground();
  void ChooseFont();
  void ToggleColorChooser();
  void ChooseColor(QRgb color);

  // ---- Canvas size, viewport and zoom (ImageDraw_Viewport.cpp) ----
  // Sets the canvas size (the pixels keep their place at the top left, new area white), applying
  // the 50 x 50 minimum, then runs the canvas-resize rule. Sizes over 16384 are refused.
  bool SetCanvasSize(int width, int height);
  void CanvasResized();                   // guide lines, scroll bars
  void HandlePress(Handle handle, QPointF pos) override;
  void HandleDrag(Handle handle, QPointF pos) override;
  // 放大, 缩小, 实际大小 (Menu_View_ZoomIn, Menu_View_ZoomOut, Menu_View_ZoomActual): the next
  // level in or out, or 100 %, keeping the picture point at the viewport's top-left corner.
  void ZoomIn();
  void ZoomOut();
  void ZoomActual();
  // Ctrl + wheel: keeps the picture point under the pointer.
  void ZoomWheel(int steps, QPointF anchor) override;
  // Shows the picture at `zoom` about `anchor` (widget units of the viewport) when available; the
  // level read-out and the three commands follow.
  void ZoomTo(int zoom, QPointF anchor);

  // ---- Help (ImageDraw_Help.cpp) ----
  void ShowProgramDescription();
  void ShowAbout();
  void OpenUpdatePage();
  void OpenMailTo();
  void OpenGuestbook();

  // ---- State ----
  WorkspaceState State;
  Canvas Picture;               // the picture shown in Draw_PIC and its drawing state
  UndoHistory History;          // the backing copy Img_Copy and the redo file
  FloatingSelection Selection;  // SelectIMG and its pixels, the rotation base
  QString lastFileName_;        // the one file dialog state shared by open and save
  QString currentFile_;         // the file named in the caption (opened or saved here), or empty
  std::optional<FileStamp> currentStamp_;  // that file as this window last read or wrote it
  const PictureFormat* currentFormat_ = nullptr;  // the format that file was read or written in
  bool startPicture_ = true;    // no file opened or saved and no new picture since start-up
  bool clickFocusPending_ = false;  // the surface gained the focus by a click not yet delivered
  bool clipboardHasPicture_ = false;  // the clipboard holds a picture: Paste is offered
  std::unique_ptr<RecoveryKeeper> recovery_;  // the recovery copy of the unsaved work

  // ---- Controls (object names in brackets) ----
  QWidget* background_ = nullptr;             // BG_Pic: sized with the window
  DrawingArea* area_ = nullptr;               // F_PIC: the drawing area, with HScr, VScr, RL, UD, RLUD
  DrawingSurface* surface_ = nullptr;         // Draw_PIC, the drawing area's
  SelectionFrame* selectionFrame_ = nullptr;  // SelectIMG, the drawing area's
  QToolBar* commandBar_ = nullptr;            // Tbar
  QWidget* palettePanel_ = nullptr;           // jb
  std::array<QToolButton*, 50> paletteButtons_{};  // Tools1 .. Tools50
  QWidget* stylePanel_ = nullptr;             // SETsty
  QButtonGroup* lineStyleButtons_ = nullptr;  // LStay1 .. LStay6
  QButtonGroup* fillStyleButtons_ = nullptr;  // FStay1 .. FStay8
  QLabel* dxReadout_ = nullptr;               // DxLb
  QLabel* dyReadout_ = nullptr;               // DyLb
  QLabel* zoomReadout_ = nullptr;             // ZoomLb: the zoom level, "200%"
  QLabel* toolHint_ = nullptr;                // ToolHint: the line under the read-outs
  QTimer* clipboardPoll_ = nullptr;           // TM
  SetData* parameterWindow_ = nullptr;        // SetData
  TypeTxt* textWindow_ = nullptr;             // TypeTxt
  ColorSlt* colorWindow_ = nullptr;           // ColorSlt

  // ---- Commands: one QAction each, in the menu and, where it has one, on Tbar ----
  std::array<QAction*, size_t(Command::Count_)> actions_{};       // by command: Menu_* entries
  std::array<QAction*, size_t(Command::Count_)> popupActions_{};  // by command: PM_* entries
  QActionGroup* paletteGroup_ = nullptr;                          // Menu_View_cy/xz/fh/hs
  QMenu* selectionMenu_ = nullptr;                                // PM
};
