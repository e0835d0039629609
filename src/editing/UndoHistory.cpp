#include "editing/UndoHistory.h"

#include <QDir>

#include "document/PictureFiles.h"
#include "figures/Canvas.h"

UndoHistory::UndoHistory() = default;
UndoHistory::~UndoHistory() = default;

void UndoHistory::Snapshot(const Canvas& canvas) { canvas.CopyInto(Img_Copy); }

QString UndoHistory::PathForWrite() {
  if (!overridePath_.isEmpty()) return overridePath_;
  if (!dir_) {
    dir_ = std::make_unique<QTemporaryDir>(QDir::tempPath() + "/quillmere-XXXXXX");
    if (!dir_->isValid()) {
      dir_.reset();
      return {};
    }
  }
  return dir_->filePath("Undo_Img.tmp");
}

QString UndoHistory::RedoFilePath() const {
  if (!overridePath_.isEmpty()) return overridePath_;
  return dir_ ? dir_->filePath("Undo_Img.tmp") : QString();
}

bool UndoHistory::Undo(Canvas& canvas, QString* error) {
  QString path = PathForWrite();
  QString why;
  if (path.isEmpty()) {
    if (error) *error = QStringLiteral("无法建立临时文件夹，不能保存“重复”所需的图像，本次取消未执行。");
    return false;
  }
  // The companion half as the canvas holds it (null while it is implicit: the redone picture is
  // then enlarged, which is what it was).
  const QImage companion = canvas.Pair().companion;
  if (!WriteBitmapFile(path, canvas.Raster(), &why)) {
    if (error) *error = QStringLiteral("无法写入“重复”所需的临时图像，本次取消未执行。\n%1").arg(why);
    return false;
  }
  if (Img_Copy.isNull())
    canvas.Clear();
  else
    canvas.SetPicture(Img_Copy);
  redoCompanion_ = companion;
  return true;
}

bool UndoHistory::Redo(Canvas& canvas, QString* error) {
  PictureRead read = ReadPictureFile(RedoFilePath());
  if (!read.ok()) {
    if (error) *error = QStringLiteral("无法读取“重复”所需的临时图像，本次重复未执行。\n%1").arg(read.error);
    return false;
  }
  Snapshot(canvas);
  canvas.SetPicture(PicturePair{read.image, redoCompanion_});
  return true;
}
