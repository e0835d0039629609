// The recovery copy: the window's unsaved work kept on disk while it lasts (RecoveryKeeper), and,
// at the next start, the copies left by instances that are gone, offered back.
#include <QDate>
#include <QFileInfo>
#include <QLockFile>
#include <algorithm>
#include <vector>

#include "dialogs/DialogSeam.h"
#include "dialogs/TypeTxt.h"
#include "document/PictureFiles.h"
#include "document/PictureFormats.h"
#include "document/RecoveryFolder.h"
#include "workspace/DrawingArea.h"
#include "workspace/ImageDraw.h"

namespace {

const QString kTitle = QStringLiteral("恢复未保存的图像");

// When a copy was taken, as a teacher says it: "今天 21:03", "昨天 21:03", "5月6日 21:03",
// "2023年5月6日 21:03".
QString When(const QDateTime& taken) {
  const QDateTime local = taken.toLocalTime();
  const QDate day = local.date(), today = QDate::currentDate();
  const QString time = local.toString(QStringLiteral("HH:mm"));
  if (day == today) return QStringLiteral("今天 ") + time;
  if (day == today.addDays(-1)) return QStringLiteral("昨天 ") + time;
  const QString date = QStringLiteral("%1月%2日 ").arg(day.month()).arg(day.day()) + time;
  return day.year() == today.year() ? date : QStringLiteral("%1年").arg(day.year()) + date;
}

// The picture's file as the question names it: its name, or what a picture in no file is.
QString FileNameOf(const RecoveryNote& note) {
  return note.fileName.isEmpty() ? QStringLiteral("未保存过的新图像") : QFileInfo(note.fileName).fileName();
}

const PictureFormat* FormatCalled(const QString& name) {
  for (const PictureFormat& f : PictureFormats())
    if (f.name == name) return &f;
  return nullptr;
}

// A copy found at start-up that no running instance owns, its lock taken while it is offered.
struct Found {
  QString id;
  std::unique_ptr<QLockFile> lock;
  RecoveryNote note;
};

// What the start finds: the copies that no running instance owns, their locks taken; the times of
// the damaged ones, deleted; the files of those a later version wrote, kept for it.
struct LeftBehind {
  std::vector<Found> whole;
  QStringList damaged, newer;
};

LeftBehind CopiesLeftBehind(const QString& folder) {
  LeftBehind left;
  for (const QString& id : RecoveryIds(folder)) {
    // A copy whose lock a running instance holds is that instance's work.
    std::unique_ptr<QLockFile> lock = LockRecoveryId(folder, id);
    if (!lock) continue;
    const QString path = RecoveryCopyPath(folder, id);
    // A lock left without its copy goes with `lock`.
    if (!QFileInfo::exists(path)) continue;
    // One that cannot be read now (it is not known to be damaged) waits for another start.
    QByteArray bytes;
    if (!ReadRegularFile(path, kMaxPictureFileBytes, &bytes, nullptr)) continue;
    const RecoveryRead read = ReadRecoveryNote(bytes);
    if (read.verdict == RecoveryVerdict::Whole) {
      left.whole.push_back({id, std::move(lock), read.note});
    } else if (read.verdict == RecoveryVerdict::Newer) {
      left.newer << QStringLiteral("“%1”").arg(path);
    } else {
      left.damaged << When(QFileInfo(path).lastModified().toUTC());
      RemoveRecoveryCopy(folder, id);
    }
  }
  return left;
}

}  // namespace

void ImageDraw::KeepRecoveryCopy() {
  recovery_ = std::make_unique<RecoveryKeeper>(RecoveryKeeper::Window{
      [this] { return InGesture(); }, [this] { return RecoveryCopyNow(); },
      [this](const QString& message) { Dialogs().Tell(this, QStringLiteral("恢复副本"), message, true); }});
  State.ImageChanged.OnNote([this](bool changed) {
    if (recovery_) recovery_->Note(changed);
  });
}

bool ImageDraw::InGesture() const { return MouseButtonHeld() || TextPreviewShowing(); }

RecoveryKeeper::Copy ImageDraw::RecoveryCopyNow() const {
  RecoveryNote note;
  note.fileName = currentFile_;
  note.caption = windowTitle();
  note.formatName = currentFormat_ ? currentFormat_->name : QString();
  note.stamp = currentStamp_;
  note.enlargedParts = State.EnlargedParts;
  note.taken = QDateTime::currentDateTimeUtc();
  return {Picture.Pair(), note};
}

void ImageDraw::OfferRecoveryAndOpen(const QString& file) {
  // The question comes before the named file: a recovered picture is not replaced unasked.
  const bool recovered = OfferRecoveredWork();
  if (file.isEmpty()) return;
  if (recovered) {
    Dialogs().Tell(this, kTitle, QStringLiteral("命令行中的文件没有打开。"), false);
    return;
  }
  OpenFile(file);
}

bool ImageDraw::OfferRecoveredWork() {
  const QString folder = RecoveryFolderPath();
  LeftBehind left = CopiesLeftBehind(folder);
  if (!left.damaged.isEmpty())
    Dialogs().Tell(this, kTitle,
                   QStringLiteral("上次未保存的图像的恢复副本已损坏（%1），无法恢复，已删除。")
                       .arg(left.damaged.join(QStringLiteral("、"))),
                   true);
  if (!left.newer.isEmpty())
    Dialogs().Tell(this, kTitle,
                   QStringLiteral("恢复副本 %1 由更新版本的 Quillmere 写入，这个版本无法读出。副本保留在原处，可以用新版本恢复。")
                       .arg(left.newer.join(QStringLiteral("、"))),
                   true);
  std::vector<Found>& found = left.whole;
  std::stable_sort(found.begin(), found.end(), [](const Found& a, const Found& b) { return a.note.taken > b.note.taken; });

  // One question each, newest first. 否 deletes the copy, a dismissed question keeps it for the
  // next start, and the first 是 ends the questions: the others stay, their locks given up.
  for (Found& f : found) {
    const auto answer = Dialogs().Ask(
        this, kTitle,
        QStringLiteral("发现上次未保存的图像（%1，%2），是否恢复？").arg(When(f.note.taken), FileNameOf(f.note)),
        QMessageBox::Yes | QMessageBox::No);
    if (answer == QMessageBox::No) RemoveRecoveryCopy(folder, f.id);
    if (answer != QMessageBox::Yes) continue;
    const QString path = RecoveryCopyPath(folder, f.id);
    QByteArray bytes;
    QString error;
    if (!ReadRegularFile(path, kMaxPictureFileBytes, &bytes, &error)) {
      Dialogs().Tell(this, kTitle, QStringLiteral("%1。恢复副本保留在原处，下次启动时还会询问。").arg(error), true);
      continue;
    }
    const RecoveryRead copy = ReadRecoveryCopy(bytes);
    bytes.clear();
    if (copy.verdict == RecoveryVerdict::Whole && ShowRecoveredPicture(copy)) {
      recovery_->Adopt(f.id, std::move(f.lock));
      return true;
    }
    if (copy.verdict == RecoveryVerdict::Damaged) {
      RemoveRecoveryCopy(folder, f.id);
      Dialogs().Tell(this, kTitle, QStringLiteral("恢复副本已损坏（%1），无法恢复，已删除。").arg(copy.problem), true);
    } else {
      Dialogs().Tell(this, kTitle, QStringLiteral("内存不足，无法恢复这个图像。恢复副本保留在原处，下次启动时还会询问。"), true);
    }
  }
  return false;
}

bool ImageDraw::ShowRecoveredPicture(const RecoveryRead& copy) {
  const PicturePair& picture = copy.picture;
  if (!SetCanvasSize(picture.width(), picture.height())) return false;
  if (textWindow_->isVisible()) textWindow_->CloseWindow();
  HideSelection();
  // As a file of ours opens: its companion at the scale it was kept, or the picture enlarged.
  PictureRead read;
  read.image = picture.image;
  read.companion = picture.companion;
  read.companionScale = picture.Scale();
  read.detail = picture.companion.isNull() ? CompanionVerdict::Absent : CompanionVerdict::Restored;
  ShowOpenedPicture(read);
  State.EnlargedParts = copy.note.enlargedParts;
  // The work of its file, as it was: 保存 asks before it replaces a file changed since.
  const RecoveryNote& note = copy.note;
  currentFile_ = note.fileName;
  currentStamp_ = note.stamp;
  currentFormat_ = FormatCalled(note.formatName);
  if (!note.fileName.isEmpty()) lastFileName_ = note.fileName;
  const bool ownCaption = note.caption.startsWith(QStringLiteral("※Quillmere※")) && note.caption.size() < 8192;
  if (ownCaption) setWindowTitle(note.caption);
  else ShowFileInCaption(note.fileName);
  startPicture_ = false;
  State.ImageChanged = true;
  area_->ShowPartlyRead(false);
  Refresh();
  return true;
}
