#pragma once
#include <QDialog>
#include <QSize>

class QCheckBox;
class QLabel;

// What the export window shows: the picture's pixel size whole and cut to its ink, and how many
// dots per metre the file records.
struct ExportSizes {
  QSize whole, trimmed;  // pixels of the file written
  int dotsPerMetre = 3780;
  bool reduced = false;  // the picture is too large for its high-resolution companion
  bool enlargedParts = false;  // part of the companion is a picture from outside, enlarged
};

// The window "导出高清图像": "裁去空白边" (on by default) and the pixel and print size of what will
// be written, following the check box.
class ExportWindow : public QDialog {
  Q_OBJECT
 public:
  ExportWindow(const ExportSizes& sizes, QWidget* parent);
  bool Trim() const;
  // The text of the size line for the choice shown ("2400 × 880 像素，打印尺寸 15.9 × 5.8 厘米").
  static QString SizeText(QSize pixels, int dotsPerMetre);

 private:
  void ShowSize();
  ExportSizes sizes_;
  QCheckBox* trim_ = nullptr;
  QLabel* size_ = nullptr;
};
