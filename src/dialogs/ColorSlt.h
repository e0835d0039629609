#pragma once
#include <QRgb>
#include <QWidget>
#include <array>
#include <functional>

class Canvas;
class QFrame;
class QLabel;

// The colour window "选取前景色：": 32 swatches in 8 columns by 4 rows. A click on a swatch makes
// its colour both the foreground and the fill colour of the picture; "当前" shows the current
// choice in that colour and "更多" opens the full colour dialog.
class ColorSlt : public QWidget {
  Q_OBJECT
 public:
  ColorSlt(Canvas& canvas, QWidget* mainWindow);

  // Shows the window at the lower left of the main window (again where it was when already open).
  void Open();
  // Closes the window (the menu's check mark was cleared).
  void CloseWindow();
  bool IsOpen() const { return open_; }

  // Called whenever the window closes, by any means (its close box, CloseWindow, hide), so the
  // main window can clear the check mark of "前景色" and release its toolbar button.
  std::function<void()> Closed;

  // The colour of swatch `index` (0..31); black for any other index.
  static QRgb SwatchColor(int index);

  QFrame* cl = nullptr;
  std::array<QLabel*, 32> FColor{};
  QFrame* Frame1 = nullptr;
  QLabel* TxtColor = nullptr;
  QLabel* MoreColor = nullptr;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void hideEvent(QHideEvent* event) override;

 private:
  void ChooseColor(QRgb c);
  void ChooseMoreColor();
  void PlaceAtMainWindow();

  Canvas& canvas_;
  QWidget* mainWindow_ = nullptr;
  bool open_ = false;
};
