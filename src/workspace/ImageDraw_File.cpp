// New, open, save, exit and closing the window.
#include <QCloseEvent>
#include <QFileInfo>
#include <QTimer>

#include "dialogs/ColorSlt.h"
#include "dialogs/DialogSeam.h"
#include "dialogs/SetData.h"
#include "dialogs/TypeTxt.h"
#include "document/PictureFiles.h"
#include "workspace/ImageDraw.h"

namespace {
const QString kCaption = QStringLiteral("※Quillmere※");
const QString kChangedText = QStringLiteral("图像已经改变，是否保存图像？");
const QString kChangedTitle = QStringLiteral("是否保存改变");
}  // namespace

bool ImageDraw::AskToSaveBeforeNew() {
  if (!State.ImageChanged) return true;
  const auto answer = Dialogs().Ask(this, kChangedTitle, kChangedText, QMessageBox::Yes | QMessageBox::No);
  if (answer == QMessageBox::Yes) {
    SavePicture();
    return true;
  }
  // Dismissing the question is no answer: everything stays as it was.
  if (answer != QMessageBox::No) return false;
  // An unstamped text goes with the picture it was previewed on: its backing copy is that picture.
  if (textWindow_->isVisible()) textWindow_->CloseWindow();
  Picture.Clear();
  State.ImageChanged = false;
  setWindowTitle(kCaption + QStringLiteral("～～新建图像"));
  HideSelection();
  Refresh();
  return true;
}

void ImageDraw::NewPicture() { AskToSaveBeforeNew(); }

void ImageDraw::OpenPicture() {
  if (!AskToSaveBeforeNew()) return;
  const QString name = Dialogs().OpenFileName(this, QStringLiteral("打开"), lastFileName_,
                                              QStringLiteral("位图文件 (*.bmp);;Jpeg图像(*.jpg)"));
  if (name.isEmpty()) return;
  lastFileName_ = name;
  PictureRead read = ReadPictureFile(name);
  if (!read.ok()) {
    Dialogs().Tell(this, QStringLiteral("打开"),
                   QStringLiteral("无法打开“%1”。\n%2").arg(QFileInfo(name).fileName(), read.error), true);
    return;
  }
  // An unstamped text goes with the picture it was previewed on.
  if (textWindow_->isVisible()) textWindow_->CloseWindow();
  // A picture larger than the canvas enlarges the canvas to hold all of it, so that saving it back
  // does not cut it off; the canvas never shrinks here.
  const int w = std::max(Picture.Width(), read.image.width());
  const int h = std::max(Picture.Height(), read.image.height());
  if (w != Picture.Width() || h != Picture.Height()) SetCanvasSize(w, h);
  HideSelection();
  Picture.SetPicture(read.image);
  setWindowTitle(kCaption + QStringLiteral("～～") + QFileInfo(name).absoluteFilePath());
  State.ImageChanged = true;
  Refresh();
}

bool ImageDraw::SavePicture() {
  const QString name = Dialogs().SaveFileName(this, QStringLiteral("“Quillmere”图像保存为："), lastFileName_,
                                              QStringLiteral("位图文件 (*.bmp)"));
  if (name.isEmpty()) {
    State.ImageChanged = true;
    return false;
  }
  lastFileName_ = name;
  QString error;
  if (!WriteBitmapFile(name, Picture.Raster(), &error)) {
    Dialogs().Tell(this, QStringLiteral("保存图像"), QStringLiteral("图像没有保存。\n%1").arg(error), true);
    return false;
  }
  setWindowTitle(kCaption + QStringLiteral("～～") + name);
  return true;
}

void ImageDraw::ExitProgram() {
  // Exit asks the same question as closing the window: work is never thrown away unasked.
  close();
}

void ImageDraw::closeEvent(QCloseEvent* event) {
  if (State.ImageChanged) {
    const auto answer = Dialogs().Ask(this, kChangedTitle, kChangedText,
                                      QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    if (answer == QMessageBox::Yes) {
      // Closing goes on only when the picture was really saved.
      if (!SavePicture()) {
        event->ignore();
        return;
      }
    } else if (answer != QMessageBox::No) {
      event->ignore();
      return;
    }
  }
  parameterWindow_->close();
  textWindow_->close();
  colorWindow_->close();
  clipboardPoll_->stop();
  event->accept();
}
