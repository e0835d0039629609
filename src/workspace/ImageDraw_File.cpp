// New, open, save, exit and closing the window. The picture holds unsaved work exactly while
// ImageChanged is true: every change sets it, a successful save and a file read whole clear it, and
// the question "是否保存改变" is asked only then.
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

void ImageDraw::ShowFileInCaption(const QString& path) {
  setWindowTitle(path.isEmpty() ? kCaption : kCaption + QStringLiteral("～～") + path);
}

bool ImageDraw::AskToSaveChanges() {
  if (!State.ImageChanged) return true;
  const auto answer = Dialogs().Ask(this, kChangedTitle, kChangedText, QMessageBox::Yes | QMessageBox::No);
  // 是 goes on only when the picture was really saved; 否 means "do not save", nothing more.
  if (answer == QMessageBox::Yes) return SavePicture();
  // Dismissing the question is no answer: everything stays as it was.
  return answer == QMessageBox::No;
}

void ImageDraw::NewPicture() {
  // A picture never changed since start-up is already the new picture.
  if (startPicture_ && !State.ImageChanged) return;
  if (State.ImageChanged) {
    const auto answer = Dialogs().Ask(this, kChangedTitle, kChangedText, QMessageBox::Yes | QMessageBox::No);
    // 是 saves and keeps the picture on the canvas; a dismissed question does nothing.
    if (answer == QMessageBox::Yes) SavePicture();
    if (answer != QMessageBox::No) return;
  }
  HideSelection();
  Picture.Clear();
  State.ImageChanged = false;
  startPicture_ = false;
  currentFile_.clear();
  setWindowTitle(kCaption + QStringLiteral("～～新建图像"));
  Refresh();
}

void ImageDraw::OpenPicture() {
  if (!AskToSaveChanges()) return;
  const QString name = Dialogs().OpenFileName(this, QStringLiteral("打开"), lastFileName_,
                                              QStringLiteral("位图文件 (*.bmp);;Jpeg图像(*.jpg)"));
  if (name.isEmpty()) return;
  lastFileName_ = name;
  OpenFile(name);
}

void ImageDraw::OpenStartupFile(const QString& path) { OpenFile(path); }

bool ImageDraw::OpenFile(const QString& path) {
  PictureRead read = ReadPictureFile(path);
  if (!read.ok()) {
    Dialogs().Tell(this, QStringLiteral("打开"),
                   QStringLiteral("无法打开“%1”。\n%2").arg(QFileInfo(path).fileName(), read.error), true);
    return false;
  }
  // The canvas takes the file's size (a side below the smallest canvas keeps the minimum, the rest
  // white), so that saving the picture back gives the file's own size.
  if (!SetCanvasSize(read.image.width(), read.image.height())) {
    Dialogs().Tell(this, QStringLiteral("打开"),
                   QStringLiteral("无法打开“%1”：内存不足，图像没有改变。").arg(QFileInfo(path).fileName()), true);
    return false;
  }
  HideSelection();
  Picture.SetPicture(read.image);
  const QString absolute = QFileInfo(path).absoluteFilePath();
  ShowFileInCaption(absolute);
  currentFile_ = absolute;
  startPicture_ = false;
  // The picture now equals its file.
  State.ImageChanged = false;
  Refresh();
  return true;
}

bool ImageDraw::SavePicture() {
  const QString name = Dialogs().SaveFileName(this, QStringLiteral("“Quillmere”图像保存为："), lastFileName_,
                                              QStringLiteral("位图文件 (*.bmp)"), nullptr);
  // A cancelled save leaves the picture as it was: unsaved work stays unsaved.
  if (name.isEmpty()) return false;
  lastFileName_ = name;
  QString error;
  if (!WriteBitmapFile(name, Picture.Raster(), &error)) {
    Dialogs().Tell(this, QStringLiteral("保存图像"), QStringLiteral("图像没有保存。\n%1").arg(error), true);
    return false;
  }
  const QString absolute = QFileInfo(name).absoluteFilePath();
  ShowFileInCaption(absolute);
  currentFile_ = absolute;
  startPicture_ = false;
  State.ImageChanged = false;
  return true;
}

void ImageDraw::ExitProgram() {
  // Exit asks the same question as closing the window: work is never thrown away unasked.
  close();
}

void ImageDraw::closeEvent(QCloseEvent* event) {
  // A text on show is work too: stamped, it is protected by the question.
  StampTextPreview();
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
