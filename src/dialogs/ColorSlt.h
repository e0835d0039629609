#pragma once
#include <QRgb>
#include <QWidget>
#include <array>

class QFrame;
class QLabel;

// The colour window "选取前景色：": 32 swatches in 8 columns by 4 rows. A click on a swatch chooses
// its colour as both the foreground and the fill colour of the picture; "当前" shows the current
// choice in that colour and "更多" opens the full colour dialog. The window does not keep the
// colour: it announces the choice. Its controls keep the names cl, FColor0 .. FColor31, Frame1,
// TxtColor and MoreColor as their object names; they are made when the window first opens.
class ColorSlt : public QWidget {
  Q_OBJECT
 public:
  ColorSlt(QRgb current, QWidget* mainWindow);

  // Shows the window at the lower left of the main window (again where it was when already open).
  void Open();
  // Closes the window (the menu's check mark was cleared).
  void CloseWindow();
  bool IsOpen() const { return open_; }
  // The main window was minimised / restored: an open window hides and comes back with it, and
  // stays open.
  void FollowMainWindow(bool shown);

  // The colour of swatch `index` (0..31); black for any other index.
  static QRgb SwatchColor(int index);

 signals:
  // A colour was chosen (a swatch, or the colour dialog).
  void ColorChosen(QRgb color);
  // The window closed, by any means (its close box, CloseWindow, the program's end), so the main
  // window can clear the check mark of "前景色" and release its toolbar button.
  void Closed();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void hideEvent(QHideEvent* event) override;

 private:
  // Makes the window's controls, once (when it first opens).
  void Build();
  void ChooseColor(QRgb c);
  void ChooseMoreColor();
  void PlaceAtMainWindow();

  QWidget* mainWindow_ = nullptr;
  QRgb current_;
  QFrame* swatchFrame_ = nullptr;         // cl
  std::array<QLabel*, 32> swatches_{};    // FColor0 .. FColor31
  QFrame* currentFrame_ = nullptr;        // Frame1
  QLabel* currentColor_ = nullptr;        // TxtColor
  QLabel* moreColors_ = nullptr;          // MoreColor
  bool open_ = false;
  bool followingMain_ = false;  // hidden with the minimised main window
};
