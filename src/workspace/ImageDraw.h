#pragma once
#include <QMainWindow>
#include <array>

#include "editing/FloatingSelection.h"
#include "editing/UndoHistory.h"
#include "figures/Canvas.h"
#include "workspace/SurfaceHandlers.h"
#include "workspace/WorkspaceState.h"

class QAction;
class QActionGroup;
class QButtonGroup;
class QLabel;
class QMenu;
class QScrollBar;
class QTimer;
class QToolBar;
class QToolButton;
class ColorSlt;
class DrawingSurface;
class ResizeHandle;
class SelectionFrame;
class SetData;
class TypeTxt;
class Viewport;

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

 protected:
  void closeEvent(QCloseEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  // ---- Building the window (ImageDraw_Menus.cpp, ImageDraw_Panels.cpp) ----
  void BuildMenus();
  void BuildToolbar();
  void BuildPanels();
  void BuildToolWindows();
  void ConnectCommands();
  // ---- Start-up (ImageDraw.cpp) ----
  void Form_Load();
  // Repaints the part of the surface the canvas changed.
  void Refresh();

  // ---- Tool choice and palettes (ImageDraw_Tools.cpp) ----
  void SelectTool(int buttonIndex, bool pressed);
  void SelectPalette(int p);
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
  // Delete and the flip and rotate commands are enabled exactly while the frame is visible.
  void SyncSelection();
  void SetEditCommands(bool enabled);  // Copy, Cut, Delete together

  // ---- Flip and rotation (ImageDraw_Rot.cpp) ----
  void SetRotateMenus(bool enabled);
  void RotateSelection(double degrees);
  void FlipSelection(bool horizontal);

  // ---- Clipboard commands (ImageDraw_Clipboard.cpp) ----
  void CopySelection();
  void CutSelection();
  void PasteClipboard();
  void DeleteSelection();
  void RefreshPasteCommand();

  // ---- Text tool (ImageDraw_Text.cpp) ----
  void OpenTextWindow(double x, double y);
  void PreviewText(const QString& text);
  void RemoveTextPreview();
  void StampText(const QString& text);

  // ---- Picture files (ImageDraw_File.cpp) ----
  void NewPicture();
  void OpenPicture();
  // The save dialog; returns true when the picture was written.
  bool SavePicture();
  void ExitProgram();
  // The new-picture prompt. Returns false when the question was dismissed (nothing may happen).
  bool AskToSaveBeforeNew();

  // ---- Settings (ImageDraw_Settings.cpp) ----
  void ChooseLineStyle(int button);  // LStay 1..6
  void ChooseFillStyle(int button);  // FStay 1..8
  void ToggleGuideLines();
  void ToggleBackground();
  void ChooseFont();
  void ToggleColorChooser();
  void ChooseColor(QRgb color);

  // ---- Canvas size and viewport (ImageDraw_Viewport.cpp) ----
  // Sets the canvas size (the pixels keep their place at the top left, new area white), applying
  // the 50 x 50 minimum, then runs the canvas-resize rule. Sizes over 16384 are refused.
  bool SetCanvasSize(int width, int height);
  void CanvasResized();                   // guide lines, scroll bars
  void ViewportResized() override;        // scroll bars' places, then CanvasResized
  void PlaceResizeHandles();
  void ScrollCanvas();                    // canvas left/top from the scroll bars
  void HandlePress(Handle handle, QPointF pos) override;
  void HandleDrag(Handle handle, QPointF pos) override;

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
  bool clickFocusPending_ = false;  // the surface gained the focus by a click not yet delivered

  // ---- Controls (object names in brackets) ----
  QWidget* background_ = nullptr;             // BG_Pic: sized with the window
  Viewport* viewport_ = nullptr;              // F_PIC: frame of the drawing area
  DrawingSurface* surface_ = nullptr;         // Draw_PIC
  SelectionFrame* selectionFrame_ = nullptr;  // SelectIMG
  QScrollBar* horizontalScroll_ = nullptr;    // HScr
  QScrollBar* verticalScroll_ = nullptr;      // VScr
  ResizeHandle* rightHandle_ = nullptr;       // RL
  ResizeHandle* bottomHandle_ = nullptr;      // UD
  ResizeHandle* cornerHandle_ = nullptr;      // RLUD
  QToolBar* commandBar_ = nullptr;            // Tbar
  QWidget* palettePanel_ = nullptr;           // jb
  std::array<QToolButton*, 50> paletteButtons_{};  // Tools1 .. Tools50
  QWidget* stylePanel_ = nullptr;             // SETsty
  QButtonGroup* lineStyleButtons_ = nullptr;  // LStay1 .. LStay6
  QButtonGroup* fillStyleButtons_ = nullptr;  // FStay1 .. FStay8
  QLabel* dxReadout_ = nullptr;               // DxLb
  QLabel* dyReadout_ = nullptr;               // DyLb
  QTimer* clipboardPoll_ = nullptr;           // TM
  SetData* parameterWindow_ = nullptr;        // SetData
  TypeTxt* textWindow_ = nullptr;             // TypeTxt
  ColorSlt* colorWindow_ = nullptr;           // ColorSlt

  // ---- Commands: one QAction each, in the menu and, where it has one, on Tbar ----
  QAction *newPicture_, *openPicture_, *savePicture_, *exit_;          // Menu_File_*
  QAction *undo_, *redo_, *copy_, *cut_, *paste_, *delete_;            // Menu_Edit_*
  QAction *flipHorizontal_, *flipVertical_;                            // Menu_Rot_Sp, Menu_Rot_Sz
  QAction *rotateClockwise30_, *rotateClockwise45_, *rotateClockwise60_, *rotateClockwise90_;
  QAction *rotateCounter30_, *rotateCounter45_, *rotateCounter60_, *rotateCounter90_;
  QAction *turnClockwise1_, *turnCounter1_;                            // Menu_Rot_S, Menu_Rot_Z
  QAction *guideLines_, *backgroundPattern_, *font_, *colorChooser_;   // Menu_Tools_*
  std::array<QAction*, 4> paletteActions_{};                          // Menu_View_cy/xz/fh/hs
  QActionGroup* paletteGroup_ = nullptr;
  QAction *programHelp_, *checkUpdates_, *mailMe_, *guestbook_, *about_;  // Menu_Help_*
  QMenu* selectionMenu_ = nullptr;                                     // PM
  QAction *menuCopy_, *menuCut_, *menuDelete_, *menuCancel_;           // PM_*
  // The twelve flip and rotate commands.
  std::array<QAction*, 12> RotateCommands() const;
};
