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

void ImageDraw::AskToSaveBeforeNew() {
  if (!State.ImageChanged) return;
  const auto answer = Dialogs().Ask(this, kChangedTitle, kChangedText, QMessageBox::Yes | QMessageBox::No);
  if (answer == QMessageBox::Yes) {
    SavePicture();
    return;
  }
  if (answer != QMessageBox::No) return;
  Picture.Clear();
  State.ImageChanged = false;
  setWindowTitle(kCaption + QStringLiteral("～～新建图像"));
  ShowSelectionFrame(false, false);
  Refresh();
}

void ImageDraw::NewPicture() { AskToSaveBeforeNew(); }

void ImageDraw::OpenPicture() {
  AskToSaveBeforeNew();
  const QString name = Dialogs().OpenFileName(this, QStringLiteral("打开"), LastFileName,
                                              QStringLiteral("位图文件 (*.bmp);;Jpeg图像(*.jpg)"));
  if (name.isEmpty()) return;
  LastFileName = name;
  PictureRead read = ReadPictureFile(name);
  if (!read.ok()) {
    Dialogs().Tell(this, QStringLiteral("打开"),
                   QStringLiteral("无法打开“%1”。\n%2").arg(QFileInfo(name).fileName(), read.error), true);
    return;
  }
  // A picture larger than the canvas enlarges the canvas to hold all of it, so that saving it back
  // does not cut it off; the canvas never shrinks here.
  const int w = std::max(Picture.Width(), read.image.width());
  const int h = std::max(Picture.Height(), read.image.height());
  if (w != Picture.Width() || h != Picture.Height()) SetCanvasSize(w, h);
  ShowSelectionFrame(false, false);
  Picture.SetPicture(read.image);
  setWindowTitle(kCaption + QStringLiteral("～～") + QFileInfo(name).absoluteFilePath());
  State.ImageChanged = true;
  Refresh();
}

bool ImageDraw::SavePicture() {
  const QString name = Dialogs().SaveFileName(this, QStringLiteral("“Quillmere”图像保存为："), LastFileName,
                                              QStringLiteral("位图文件 (*.bmp)"));
  if (name.isEmpty()) {
    State.ImageChanged = true;
    return false;
  }
  LastFileName = name;
  QString error;
  if (!WriteBitmapFile(name, Picture.Raster(), &error)) {
    Dialogs().Tell(this, QStringLiteral("保存图像"),
                   QStringLiteral("图像没有保存。\n%1").arg(error), true);
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
  SetDataWindow->close();
  TypeTxtWindow->close();
  ColorSltWindow->close();
  TM->stop();
  event->accept();
}
