#pragma once
#include <QMainWindow>
#include <array>

#include "editing/FloatingSelection.h"
#include "editing/UndoHistory.h"
#include "figures/Canvas.h"
#include "workspace/WorkspaceState.h"

class QAction;
class QActionGroup;
class QLabel;
class QMenu;
class QScrollBar;
class QTimer;
class QToolBar;
class QToolButton;
class DrawingSurface;
class SelectionFrame;
class SetData;
class TypeTxt;
class ColorSlt;
class Viewport;
class ResizeHandle;

// The main window: the whole workspace. It owns the picture (Canvas), the drawing surface, the
// toolbars and menus, the tool windows and every piece of state the handlers share. Each window
// event lands in one handler named after what it does; the handlers are split over
// ImageDraw_*.cpp by menu and subsystem.
class ImageDraw : public QMainWindow {
  Q_OBJECT
 public:
  ImageDraw();
  ~ImageDraw() override;

  // ---- State ----
  WorkspaceState State;
  Canvas Picture;          // the picture shown in Draw_PIC and its drawing state
  UndoHistory History;     // the backing copy Img_Copy and the redo file
  FloatingSelection Sel;   // SelectIMG, IMG_Select, IMG_Slt, Rot

  // ---- Controls ----
  QWidget* BG_Pic = nullptr;       // background panel, sized with the window
  Viewport* F_PIC = nullptr;       // frame of the drawing area
  DrawingSurface* Draw_PIC = nullptr;
  SelectionFrame* SelectIMG = nullptr;
  QScrollBar* HScr = nullptr;
  QScrollBar* VScr = nullptr;
  ResizeHandle* RL = nullptr;      // right edge
  ResizeHandle* UD = nullptr;      // bottom edge
  ResizeHandle* RLUD = nullptr;    // bottom-right corner
  QToolBar* Tbar = nullptr;
  QWidget* jb = nullptr;           // panel holding Tools
  std::array<QToolButton*, 50> Tools{};
  QWidget* SETsty = nullptr;
  std::array<QToolButton*, 6> LStay{};
  std::array<QToolButton*, 8> FStay{};
  QLabel* DxLb = nullptr;
  QLabel* DyLb = nullptr;
  QTimer* TM = nullptr;            // polls the clipboard
  SetData* SetDataWindow = nullptr;
  TypeTxt* TypeTxtWindow = nullptr;
  ColorSlt* ColorSltWindow = nullptr;

  // ---- Commands: one QAction each, shown in the menu and, where it has one, on Tbar ----
  QAction *Menu_File_New, *Menu_File_Open, *Menu_File_Save, *Menu_File_Exit;
  QAction *Menu_Edit_Undo, *Menu_Edit_Redo, *Menu_Edit_Copy, *Menu_Edit_Cut, *Menu_Edit_Paster,
      *Menu_Edit_Del;
  QAction *Menu_Rot_Sp, *Menu_Rot_Sz, *Menu_Rot_Nss, *Menu_Rot_Nsw, *Menu_Rot_Nsl, *Menu_Rot_Njs,
      *Menu_Rot_Nls, *Menu_Rot_Nlw, *Menu_Rot_Nll, *Menu_Rot_Nlj, *Menu_Rot_S, *Menu_Rot_Z;
  QAction *Menu_Tools_Line, *Menu_Tools_BGLine, *Menu_Tools_Font, *Menu_Tools_Forcolor;
  QAction *Menu_View_cy, *Menu_View_xz, *Menu_View_fh, *Menu_View_hs;
  QAction *Menu_Help_help, *Menu_Help_web, *Menu_Help_MailME, *Menu_Help_LiuYan, *Menu_Help_about;
  QActionGroup* PaletteGroup = nullptr;
  QMenu* PM = nullptr;  // pop-up menu of the floating selection
  QAction *PM_Copy, *PM_Cut, *PM_Del, *PM_Cancel;

  // ---- Start-up (ImageDraw.cpp) ----
  void Form_Load();
  // Runs the Tbar command whose caption is `caption`; a caption that matches nothing does nothing.
  void RunToolbarCommand(const QString& caption);
  // Repaints the part of the surface the canvas changed.
  void Refresh();

  // ---- Tool choice and palettes (ImageDraw_Tools.cpp) ----
  void SelectTool(int buttonIndex, bool pressed);
  void SelectPalette(int p);
  void ShowDefaultTips();
  void LoadPaletteTips(int p);
  ParameterValues FigureParameters() const;

  // ---- Gesture pipeline (ImageDraw_Gesture.cpp) ----
  void BeginGesture(Qt::MouseButton button, Qt::KeyboardModifiers shift, double x, double y);
  void TrackGesture(Qt::MouseButtons buttons, Qt::KeyboardModifiers shift, double x, double y);
  void EndGesture(Qt::MouseButton button, Qt::KeyboardModifiers shift, double x, double y);
  void ShowResizeHandles();
  void HideResizeHandles();
  void SetEditCommands(bool enabled);  // Copy, Cut, Delete together

  // ---- Undo and redo (ImageDraw_Edit.cpp) ----
  void UndoStep();
  void RedoStep();
  void EnableUndo();

  // ---- Floating selection (ImageDraw_Selection.cpp) ----
  void SelectionPress(Qt::MouseButton button, double x, double y);
  void SelectionMove(Qt::MouseButtons buttons, double x, double y);
  void SelectionRelease(Qt::MouseButton button, double x, double y, QPoint globalPos);
  void CanvasKeyDown(int key, Qt::KeyboardModifiers mods, const QString& text);
  void CanvasKeyUp(int key, Qt::KeyboardModifiers mods);
  void NudgeSelection(int key);
  void ShowSelectionFrame(bool visible, bool border);  // SelectIMG's visibility and border
  void SyncSelectionFrame();                           // SelectIMG's geometry from Sel

  // ---- Flip and rotation (ImageDraw_Rot.cpp) ----
  void SetRotateMenus(bool enabled);
  void SetSelectionCommands(bool enabled);
  void RotateSelection(double degrees);
  void RenderSelectionRotation();
  void PlaceRotation();
  void FlipHorizontal();
  void FlipVertical();

  // ---- Clipboard commands (ImageDraw_Clipboard.cpp) ----
  void CopySelection();
  void CutSelection();
  void PasteClipboard();
  void DeleteSelection();
  void RefreshPasteCommand();

  // ---- Picture files (ImageDraw_File.cpp) ----
  void NewPicture();
  void OpenPicture();
  // The save dialog; returns true when the picture was written.
  bool SavePicture();
  void ExitProgram();
  // The new-picture prompt. Returns false only when saving was chosen and did not happen.
  void AskToSaveBeforeNew();
  QString LastFileName;  // the one file dialog state shared by open and save

  // ---- Settings (ImageDraw_Settings.cpp) ----
  void ChooseLineStyle(int button);  // LStay 1..6
  void ChooseFillStyle(int button);  // FStay 1..8
  void ToggleGuideLines();
  void ToggleBackground();
  void ChooseFont();
  void ToggleColorChooser();

  // ---- Canvas size and viewport (ImageDraw_Viewport.cpp) ----
  // Sets the canvas size (the pixels keep their place at the top left, new area white), applying
  // the 50 x 50 minimum, then runs the canvas-resize rule. Sizes over 16384 are refused.
  bool SetCanvasSize(int width, int height);
  void CanvasResized();     // guide lines, scroll bars
  void ViewportResized();   // scroll bars' places, then CanvasResized
  void PlaceResizeHandles();
  void ScrollCanvas();      // canvas left/top from the scroll bars
  void HandlePress(ResizeHandle* handle, QPointF pos);
  void HandleDrag(ResizeHandle* handle, QPointF pos);
  // The canvas pixel under the pointer at a display scale above 100 %: the one that shows the
  // centre of the screen pixel the pointer is on. At 100 % and below the position is unchanged.
  static QPointF CanvasPoint(QPointF position, double devicePixelRatio);

  // ---- Help (ImageDraw_Help.cpp) ----
  void ShowProgramDescription();
  void ShowAbout();
  void OpenUpdatePage();
  void OpenMailTo();
  void OpenGuestbook();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  void BuildMenus();
  void BuildToolbar();
  void BuildPanels();
  void BuildToolWindows();
  void ConnectCommands();
  bool closingAllowed_ = false;
};
