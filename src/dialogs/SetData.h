#pragma once
#include <QString>
#include <QWidget>

#include "figures/DrawFigure.h"

class QComboBox;
class QFrame;
class QLabel;

// What the parameter window shows for the tool just chosen.
struct ParameterPrompts {
  bool shown = false;       // the tool takes numbers: the window is shown (else it closes)
  QString first;            // prompt of the first value (empty: the prompt stays as it was)
  QString firstDefault;     // the first value written when the tool is chosen
  QString second;           // prompt of the second value (two-value tools; empty: one row)
  QString secondDefault;
  bool offsets = false;     // the second row holds two offsets, "0" each and without a label,
                            // which may be zero or negative (the function graphs)
};

// The parameter window "请选择：": a small modeless topmost window holding the numbers of the figure
// tools that take one or two numbers (a corner radius, a number of periods, grid divisions, ...).
// It has no OK or Cancel: the figures read its boxes every time they draw.
//
// First row: prompt PL and value box SP. Second row: prompt ZL and value box SZ; the third value box
// CS takes ZL's place for the function graphs, whose second row holds offsets. The controls keep
// those names as their object names.
class SetData : public QWidget {
  Q_OBJECT
 public:
  explicit SetData(QWidget* mainWindow);

  // A tool was chosen: shows the window for a tool that takes numbers and closes it for any other,
  // then writes the tool's prompts and defaults.
  void ToolChosen(const ParameterPrompts& prompts);

  // The values the figures read: the leading numbers of SP, SZ and CS while the window is open,
  // the design values (5 each) while it is closed. Always finite.
  ParameterValues Values() const;

  // True from the choice of a parameter tool until another tool is chosen or the window is closed.
  bool IsOpen() const { return open_; }

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  enum class Box { First, Second, Third };
  void CheckBox(QComboBox* box, Box which);
  void PlaceAtMainWindow();

  QWidget* mainWindow_ = nullptr;
  QFrame* frame_ = nullptr;            // Frame1
  QLabel* firstPrompt_ = nullptr;      // PL
  QComboBox* firstValue_ = nullptr;    // SP
  QLabel* secondPrompt_ = nullptr;     // ZL
  QComboBox* secondValue_ = nullptr;   // SZ
  QComboBox* thirdValue_ = nullptr;    // CS
  bool offsets_ = false;
  bool open_ = false;
  bool checking_ = false;
};
