#include "workspace/RecoveryKeeper.h"

#include <QApplication>
#include <QLockFile>
#include <QTimer>

#include "document/RecoveryFolder.h"
#include "document/RecoveryWriter.h"

RecoveryKeeper::RecoveryKeeper(Window window, QObject* parent) : QObject(parent), window_(std::move(window)) {}

RecoveryKeeper::~RecoveryKeeper() = default;

void RecoveryKeeper::Note(bool changed) {
  if (!changed) {
    Discard();
    return;
  }
  if (!timer_) {
    timer_ = new QTimer(this);
    timer_->setSingleShot(true);
    connect(timer_, &QTimer::timeout, this, &RecoveryKeeper::Due);
  }
  // Armed once: continuous work is copied every kDelayMs, not when it pauses.
  if (!timer_->isActive()) timer_->start(kDelayMs);
}

void RecoveryKeeper::Discard() {
  if (timer_) timer_->stop();
  if (writer_) writer_->Delete();
}

void RecoveryKeeper::Adopt(const QString& id, std::unique_ptr<QLockFile> lock) {
  if (timer_) timer_->stop();
  Writer().Adopt(id, std::move(lock));
}

void RecoveryKeeper::Due() {
  // A gesture shows what is not yet work (a preview, pixels in flight): the copy waits for its end.
  if (window_.busy()) {
    timer_->start(kRetryMs);
    return;
  }
  const Copy copy = window_.take();
  Writer().Write(copy.picture, copy.note);
}

RecoveryWriter& RecoveryKeeper::Writer() {
  if (!writer_) {
    // The writer's thread reports here through the event loop; the keeper outlives it.
    writer_ = std::make_unique<RecoveryWriter>(RecoveryFolderPath(), [this](const QString& why) {
      QMetaObject::invokeMethod(this, [this, why] { Failed(why); }, Qt::QueuedConnection);
    });
  }
  return *writer_;
}

void RecoveryKeeper::Failed(const QString& why) {
  if (told_) return;
  untold_ = why;
  // Said once, when the user is not in the middle of something: no box pops up over a drag or
  // on top of another dialog.
  if (window_.busy() || QApplication::activeModalWidget()) {
    QTimer::singleShot(kRetryMs, this, [this] {
      if (!told_ && !untold_.isEmpty()) Failed(untold_);
    });
    return;
  }
  told_ = true;
  window_.tell(QStringLiteral("无法保存恢复副本：%1。\n图像照常编辑和保存，只是程序意外退出时，未保存的部分无法找回。").arg(untold_));
}
