#pragma once
#include <QColor>
#include <QFont>
#include <QMessageBox>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <functional>
#include <optional>
#include <utility>

class QPrinter;
class QWidget;
struct ExportSizes;

// Everything that would stop and wait for the user in a window a test cannot click — message
// boxes, file dialogs, the colour and font dialogs — and the desktop's URL handler go through this
// one seam. The program uses the real dialogs; tests install a scripted seam.
class DialogSeam {
 public:
  virtual ~DialogSeam() = default;

  // A question with the given buttons (information icon); returns the button pressed, or Cancel
  // when the box was dismissed (Esc, its close button) whatever its buttons.
  virtual QMessageBox::StandardButton Ask(QWidget* parent, const QString& title, const QString& text,
                                          QMessageBox::StandardButtons buttons);
  // A question answered with one of `buttons` (their texts, in order): returns the index of the
  // button pressed, or -1 when the box was dismissed (Esc, its close button).
  virtual int Choose(QWidget* parent, const QString& title, const QString& text, const QStringList& buttons);
  // A message with an OK button: `warning` chooses the warning icon over the information icon.
  virtual void Tell(QWidget* parent, const QString& title, const QString& text, bool warning);
  // File dialogs. `filter` is in Qt's form ("位图文件 (*.bmp);;PNG 图像 (*.png)"). An empty result is
  // a cancel. The save dialog puts the filter chosen in it into `chosenFilter`; it asks nothing
  // before an existing file is named (the program asks about the final name itself).
  virtual QString OpenFileName(QWidget* parent, const QString& title, const QString& initialName,
                               const QString& filter);
  virtual QString SaveFileName(QWidget* parent, const QString& title, const QString& initialName,
                               const QString& filter, QString* chosenFilter);
  // The full colour dialog, starting from `initial`; nothing on cancel.
  virtual std::optional<QColor> PickColor(QWidget* parent, const QColor& initial);
  // The font window "字体" starting from `font` and `color`: the chosen font (family, size, bold,
  // italic, underline taken over) and colour; nothing on cancel.
  virtual std::optional<std::pair<QFont, QRgb>> PickFont(QWidget* parent, const QFont& font, QRgb color);
  // Hands a web or mailto address to the desktop.
  virtual bool OpenUrl(const QUrl& url);
  // The export window "导出高清图像" (ExportWindow): whether white edges are cut away, or nothing
  // when it was cancelled.
  virtual std::optional<bool> ExportOptions(QWidget* parent, const ExportSizes& sizes);
  // Printing: the print dialog "打印", or the print preview "打印预览", with `paint` drawing the page
  // on the printer chosen (a PDF file needs no printer). A `note` shows in the dialog's title.
  // Returns false when it was cancelled.
  virtual bool Print(QWidget* parent, bool preview, const std::function<void(QPrinter&)>& paint,
                     const QString& note = QString());
};

// The seam in force. Tests replace it with SetDialogSeam and put nullptr back to restore the real one.
DialogSeam& Dialogs();
void SetDialogSeam(DialogSeam* seam);
