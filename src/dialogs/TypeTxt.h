#pragma once
#include <QPoint>
#include <QWidget>
#include <array>
#include <functional>

class Canvas;
class QComboBox;
class QImage;
class QLabel;
class QPushButton;

// The text window "打字工具栏：". The text typed into Txt is previewed on the picture at the
// clicked point, over the backing copy taken at the click; "确定" stamps it, "取消" removes it.
// Symbol buttons append Greek letters, signs and numbering marks; Combo1 sets the font size.
// The text is stamped in code page 936: characters outside it show as '?'.
class TypeTxt : public QWidget {
  Q_OBJECT
 public:
  TypeTxt(Canvas& canvas, QWidget* mainWindow);

  // A click with the text tool: `insertion` is the top-left of the text, `backing` the picture as
  // it was at the click, without any preview (the main window's Img_Copy; it must outlive the
  // window's use of it). Shows the window with its bottom-right corner on the main window's and
  // gives Txt the keyboard focus. The window loads afresh unless it was only hidden by "确定".
  // Clicking again while a preview shows moves the preview to the new point; call RemovePreview()
  // before taking the new backing copy, so that the copy holds no unstamped text.
  void Open(QPoint insertion, const QImage* backing);
  // Takes an unstamped preview off the picture (no effect when the window is not showing).
  void RemovePreview();
  // Another tool was chosen: the preview goes, the window closes and unloads.
  void CloseWindow();
  bool IsLoaded() const { return loaded_; }

  // The picture changed: the drawing surface must repaint.
  std::function<void()> SurfaceChanged;
  // "确定" stamped a text: the picture now differs from the backing copy.
  std::function<void()> Committed;

  // The symbols of the Command3 buttons, by index.
  static const char* const kSymbols[45];

  QLabel* Label1 = nullptr;
  QComboBox* Txt = nullptr;
  QLabel* Label2 = nullptr;
  QComboBox* Combo1 = nullptr;
  QPushButton* Command1 = nullptr;
  QPushButton* Command2 = nullptr;
  std::array<QPushButton*, 45> Command3{};

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void Load();
  void Unload();
  void TextChanged();
  void CheckFontSize();
  void DrawText();
  void Commit();
  void Cancel();
  void PlaceAtMainWindow();
  void NotifySurface();

  Canvas& canvas_;
  QWidget* mainWindow_ = nullptr;
  QPoint insertion_;
  const QImage* backing_ = nullptr;
  bool loaded_ = false;
  bool quiet_ = false;          // resetting the controls: no drawing, no font change
  bool checkingSize_ = false;   // our own rewrite of Combo1
};
