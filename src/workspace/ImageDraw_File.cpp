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
#include "document/CompanionChunk.h"
#include "document/FileStamp.h"
#include "document/PictureFiles.h"
#include "document/PictureFormats.h"
#include "workspace/DrawingArea.h"
#include "workspace/ImageDraw.h"

namespace {
const QString kCaption = QStringLiteral("※Quillmere※");
const QString kChangedText = QStringLiteral("图像已经改变，是否保存图像？");
const QString kChangedTitle = QStringLiteral("是否保存改变");
const QString kBitmapLosesDetail = QStringLiteral("位图文件不能保存高清细节。要保留，请存为 PNG。");

// `target` (a bitmap name) as a PNG file: "incline.bmp" becomes "incline.png".
SaveTarget AsPng(SaveTarget target) {
  const QString suffix = QFileInfo(target.path).suffix();
  target.path = target.path.chopped(suffix.size()) + QStringLiteral("png");
  target.format = &FormatNamed(QStringLiteral("PNG"));
  return target;
}
}  // namespace

void ImageDraw::ShowFileInCaption(const QString& path) {
  setWindowTitle(path.isEmpty() ? kCaption : kCaption + QStringLiteral("～～") + path);
}

bool ImageDraw::AskToSaveChanges() {
  // A text on show is unsaved work too; it is stamped only when the user goes on with 是.
  if (!HoldsUnsavedWork()) return true;
  const auto answer = Dialogs().Ask(this, kChangedTitle, kChangedText, QMessageBox::Yes | QMessageBox::No);
  // 是 goes on only when the picture was really saved; 否 means "do not save", nothing more.
  if (answer == QMessageBox::Yes) {
    StampTextPreview();
    return SavePicture();
  }
  // Dismissing the question is no answer: everything stays as it was, a text on show included.
  return answer == QMessageBox::No;
}

void ImageDraw::NewPicture() {
  // A picture never changed since start-up is already the new picture.
  if (startPicture_ && !HoldsUnsavedWork()) return;
  if (HoldsUnsavedWork()) {
    const auto answer = Dialogs().Ask(this, kChangedTitle, kChangedText, QMessageBox::Yes | QMessageBox::No);
    // 是 stamps a text on show, saves and keeps the picture on the canvas; a dismissed question
    // does nothing.
    if (answer == QMessageBox::Yes) {
      StampTextPreview();
      SavePicture();
    }
    if (answer != QMessageBox::No) return;
  }
  // An unstamped text goes with the picture it was previewed on: its backing copy is that picture.
  if (textWindow_->isVisible()) textWindow_->CloseWindow();
  HideSelection();
  Picture.Clear();
  Picture.ChooseCompanion();
  State.ImageChanged = false;
  startPicture_ = false;
  currentFile_.clear();
  currentStamp_.reset();
  State.EnlargedParts = false;
  setWindowTitle(kCaption + QStringLiteral("～～新建图像"));
  area_->ShowPartlyRead(false);
  Refresh();
}

void ImageDraw::OpenPicture() {
  if (!AskToSaveChanges()) return;
  const QString name = Dialogs().OpenFileName(this, QStringLiteral("打开"), lastFileName_, OpenDialogFilter());
  if (name.isEmpty()) return;
  lastFileName_ = name;
  OpenFile(name);
}

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
  // An unstamped text goes with the picture it was previewed on.
  if (textWindow_->isVisible()) textWindow_->CloseWindow();
  HideSelection();
  ShowOpenedPicture(read);
  const QString absolute = QFileInfo(path).absoluteFilePath();
  ShowFileInCaption(absolute);
  currentFile_ = absolute;
  currentStamp_ = StampOfFile(absolute);
  currentFormat_ = read.format;
  startPicture_ = false;
  // Read whole, the picture equals its file; read in part, what is missing is in no file.
  State.ImageChanged = read.partial;
  area_->ShowPartlyRead(read.partial);
  Refresh();
  if (read.partial)
    Dialogs().Tell(this, QStringLiteral("打开"), QStringLiteral("图像文件不完整，只显示了能读出的部分。"), true);
  return true;
}

void ImageDraw::ShowOpenedPicture(const PictureRead& read) {
  // The file's own companion when it kept one that can be trusted, at the scale it was kept (a
  // resized picture may have a lower one than a new picture of its size); otherwise the opened
  // pixels enlarged, at the scale that suits the picture's size.
  const bool restored = read.detail == CompanionVerdict::Restored && !read.companion.isNull() &&
                        (Picture.k() == read.companionScale || Picture.SetCompanion(read.companionScale));
  if (restored) {
    Picture.SetPicture(read.Pair());
  } else {
    Picture.SetPicture(read.image);
    if (Picture.k() != CompanionScaleFor(Picture.Width(), Picture.Height())) Picture.ChooseCompanion();
  }
  State.EnlargedParts = restored ? read.enlargedParts : true;
}

const PictureFormat* ImageDraw::SaveStartFormat() const {
  // The format of the file the picture came from, when it can be written; PNG for a new picture.
  if (!currentFile_.isEmpty() && currentFormat_ && currentFormat_->CanWrite()) return currentFormat_;
  return &FormatNamed(QStringLiteral("PNG"));
}

std::optional<SaveTarget> ImageDraw::AskSaveTarget(bool exporting) {
  const QString title = exporting ? QStringLiteral("导出高清图像") : QStringLiteral("保存图像");
  const PictureFormat* png = &FormatNamed(QStringLiteral("PNG"));
  // The export dialog keeps a name of its own: exporting names no file of the picture's.
  QString& lastName = exporting ? lastExportName_ : lastFileName_;
  bool keepBitmap = false;  // 继续保存 was answered: the question is asked once a save
  // The dialog shows again after a refused name or a 否 to the question about an existing file.
  for (;;) {
    QString filter;
    const QString typed =
        exporting ? Dialogs().SaveFileName(this, QStringLiteral("高清图像导出为："), lastName, png->Filter(), &filter)
                  : Dialogs().SaveFileName(this, QStringLiteral("“Quillmere”图像保存为："), lastName,
                                           SaveDialogFilter(SaveStartFormat()), &filter);
    if (typed.isEmpty()) return std::nullopt;
    lastName = typed;
    const PictureFormat* named = FormatOfFileName(typed);
    SaveTarget target = ResolveSaveName(typed, exporting ? png->Filter() : filter);
    if (exporting && named && named != png) {
      target = SaveTarget{};
      target.refusal = QStringLiteral("高清图像只能导出为 PNG 文件（.png），请换一个文件名。");
    }
    if (!target.ok()) {
      Dialogs().Tell(this, title, target.refusal, true);
      continue;
    }
    // A format that keeps the picture alone would lose the companion's detail: asked before
    // anything is written. 取消 and a dismissal write nothing.
    if (!exporting && !keepBitmap && !target.format->KeepsDetail() &&
        CompanionHoldsDetail(Picture.Raster(), Picture.Companion(), Picture.k())) {
      const int answer = Dialogs().Choose(this, title, kBitmapLosesDetail,
                                          {QStringLiteral("继续保存"), QStringLiteral("改存 PNG"), QStringLiteral("取消")});
      if (answer == 1) target = AsPng(target);
      else if (answer == 0) keepBitmap = true;
      else return std::nullopt;
    }
    const QFileInfo file(target.path);
    target.path = file.absoluteFilePath();
    lastName = target.path;
    // The picture's own file keeps the picture: the export, at another size, goes elsewhere.
    if (exporting && !currentFile_.isEmpty() && QFileInfo(currentFile_) == file) {
      Dialogs().Tell(this, title,
                     QStringLiteral("“%1”是正在编辑的图像的文件，高清图像不能导出到这里，请换一个文件名。")
                         .arg(file.fileName()),
                     true);
      continue;
    }
    if (!file.exists()) return target;
    // Saving over the file in the caption that someone else has written since: say so instead.
    if (!exporting && target.path == currentFile_ && StampOfFile(target.path) != currentStamp_) {
      const auto answer = Dialogs().Ask(
          this, title, QStringLiteral("文件“%1”已被其他程序修改。是否仍要覆盖？").arg(file.fileName()),
          QMessageBox::Yes | QMessageBox::No);
      if (answer == QMessageBox::Yes) return target;
      return std::nullopt;
    }
    const auto answer = Dialogs().Ask(this, title, QStringLiteral("文件“%1”已经存在。是否替换？").arg(file.fileName()),
                                      QMessageBox::Yes | QMessageBox::No);
    if (answer == QMessageBox::Yes) return target;
  }
}

bool ImageDraw::SavePicture() {
  // A cancelled save leaves the picture as it was: unsaved work stays unsaved.
  const std::optional<SaveTarget> target = AskSaveTarget();
  if (!target) return false;
  QString error;
  if (!WritePictureFile(target->path, Picture.Pair(), *target->format, &error, kScreenDotsPerMetre,
                        State.EnlargedParts)) {
    Dialogs().Tell(this, QStringLiteral("保存图像"), QStringLiteral("图像没有保存。\n%1").arg(error), true);
    return false;
  }
  ShowFileInCaption(target->path);
  currentFile_ = target->path;
  currentStamp_ = StampOfFile(target->path);
  currentFormat_ = target->format;
  startPicture_ = false;
  State.ImageChanged = false;
  return true;
}

void ImageDraw::ExitProgram() {
  // Exit asks the same question as closing the window: work is never thrown away unasked.
  close();
}

void ImageDraw::closeEvent(QCloseEvent* event) {
  // A text on show is work too: the question protects it, and 是 stamps it before saving.
  if (HoldsUnsavedWork()) {
    const auto answer = Dialogs().Ask(this, kChangedTitle, kChangedText,
                                      QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    if (answer == QMessageBox::Yes) {
      StampTextPreview();
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
  // The question was answered: the work is saved or given up, and its recovery copy goes.
  recovery_->Discard();
  parameterWindow_->close();
  textWindow_->close();
  colorWindow_->close();
  clipboardPoll_->stop();
  event->accept();
}
