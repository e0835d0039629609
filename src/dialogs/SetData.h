#pragma once
#include <QWidget>

#include "figures/DrawFigure.h"

class QComboBox;
class QFrame;
class QLabel;

// The parameter window "请选择：": a small modeless topmost window holding the numbers of the figure
// tools that take one or two numbers (a corner radius, a number of periods, grid divisions, ...).
// It has no OK or Cancel: the figures read its boxes every time they draw.
//
// First row: prompt PL and value box SP. Second row: prompt ZL and value box SZ; the third value box
// CS takes ZL's place for the two function tools (118, 119), whose second row holds offsets.
class SetData : public QWidget {
  Q_OBJECT
 public:
  explicit SetData(QWidget* mainWindow);

  // A tool was chosen (after the main window stored the new ToolId): shows the window for a
  // parameter tool and closes it for any other, then writes the tool's prompts and defaults.
  void ToolChosen(int toolId);

  // The values the figures read: the leading numbers of SP, SZ and CS while the window is open,
  // the design values (5 each) while it is closed. Always finite.
  ParameterValues Values() const;

  // True from the choice of a parameter tool until another tool is chosen or the window is closed.
  bool IsOpen() const { return open_; }

  // The leading decimal number of `text` as the boxes read it (see NumberText.h): "3abc" gives 3,
  // "1e3" gives 1, a text without a number or with an endless run of digits gives 0.
  static double LeadingNumber(const QString& text);

  QFrame* Frame1 = nullptr;
  QLabel* PL = nullptr;
  QComboBox* SP = nullptr;
  QLabel* ZL = nullptr;
  QComboBox* SZ = nullptr;
  QComboBox* CS = nullptr;

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  enum class Box { SP, SZ, CS };
  void CheckBox(QComboBox* box, Box which);
  void PlaceAtMainWindow();

  QWidget* mainWindow_ = nullptr;
  int toolId_ = 0;
  bool open_ = false;
  bool checking_ = false;
};
