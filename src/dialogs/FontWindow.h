#pragma once
#include <QDialog>
#include <QFont>
#include <QRgb>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;

// The font window "字体": family, size, 粗体 / 斜体 / 下划线 / 删除线 and a colour of the sixteen
// standard colours, with a preview line. The picture takes over family, size, bold, italic,
// underline and the colour; strike-through is shown in the preview only.
class FontWindow : public QDialog {
  Q_OBJECT
 public:
  FontWindow(QWidget* parent, const QFont& font, QRgb color);

  // Runs the window modally. On "确定" writes family, size, bold, italic and underline into `font`
  // (everything else of `font`, strike-through included, stays) and the colour into `color` and
  // returns true; on "取消" or the close box changes nothing and returns false.
  static bool Choose(QWidget* parent, QFont& font, QRgb& color);

  // `base` with the window's family, size, bold, italic and underline.
  QFont ChosenFont(const QFont& base) const;
  QRgb ChosenColor() const;
  // The size in points the size box stands for: its leading number within 1..500; the starting
  // size when the box holds no positive number.
  double ChosenSize() const;

  // The sixteen standard colours in the order of the colour list.
  static const QRgb kStandardColors[16];

 private:
  // The controls, found from outside by their object names (Filter, FamilyList, SizeBox, Bold,
  // Italic, Underline, StrikeOut, ColorBox, Preview).
  QLineEdit* filter_ = nullptr;
  QListWidget* familyList_ = nullptr;
  QComboBox* sizeBox_ = nullptr;
  QCheckBox* bold_ = nullptr;
  QCheckBox* italic_ = nullptr;
  QCheckBox* underline_ = nullptr;
  QCheckBox* strikeOut_ = nullptr;
  QComboBox* colorBox_ = nullptr;
  QLabel* preview_ = nullptr;

  void ApplyFilter();
  void UpdatePreview();
  QString ChosenFamily() const;

  QString startFamily_;
  double startSize_ = 10;
};
