#include "document/RecoveryFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSet>
#include <QUuid>
#include <cerrno>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace {

QByteArray Native(const QString& path) { return QFile::encodeName(path); }

// `name` is "<uuid><suffix>": the uuid, as the program writes it, or empty.
QString IdOf(const QString& name, const QString& suffix) {
  if (!name.endsWith(suffix)) return {};
  const QString id = name.chopped(suffix.size());
  return QUuid::fromString(id).toString(QUuid::WithoutBraces) == id ? id : QString();
}

}  // namespace

QString RecoveryFolderPath() {
  const QString state = qEnvironmentVariable("XDG_STATE_HOME");
  const QString base = !state.isEmpty() && QDir::isAbsolutePath(state) ? state : QDir::homePath() + "/.local/state";
  return QDir::cleanPath(base + QStringLiteral("/quillmere"));
}

QString RecoveryCopyPath(const QString& folder, const QString& id) { return folder + '/' + id + ".png"; }

QString WhyNotWritten(const QString& folder) {
  // The nearest folder that exists tells about the file system.
  QString existing = folder;
  struct stat st;
  while (::stat(Native(existing).constData(), &st) != 0 && existing != QLatin1String("/"))
    existing = QFileInfo(existing).absolutePath();
  struct statvfs fs;
  if (::statvfs(Native(existing).constData(), &fs) == 0) {
    if (fs.f_flag & ST_RDONLY) return QStringLiteral("“%1”在只读的文件系统上").arg(existing);
    if (fs.f_bavail == 0) return QStringLiteral("“%1”所在的磁盘已满").arg(existing);
  }
  if (::access(Native(existing).constData(), W_OK | X_OK) != 0)
    return QStringLiteral("没有写入“%1”的权限").arg(existing);
  return QStringLiteral("写入“%1”时出错").arg(folder);
}

bool MakeRecoveryFolder(const QString& folder, QString* reason) {
  auto fail = [&](const QString& why) {
    if (reason) *reason = why;
    return false;
  };
  // Each folder missing on the way is made for the user alone, as the XDG base directories want.
  QString path;
  for (const QString& part : folder.split('/', Qt::SkipEmptyParts)) {
    path += '/' + part;
    struct stat st;
    if (::stat(Native(path).constData(), &st) == 0) {
      if (!S_ISDIR(st.st_mode)) return fail(QStringLiteral("“%1”不是文件夹").arg(path));
      continue;
    }
    if (errno != ENOENT) return fail(QStringLiteral("无法进入“%1”").arg(QFileInfo(path).absolutePath()));
    if (::mkdir(Native(path).constData(), 0700) != 0 && errno != EEXIST)
      return fail(QStringLiteral("无法建立文件夹“%1”：%2").arg(path, WhyNotWritten(QFileInfo(path).absolutePath())));
  }
  // The copies are the user's unsaved work: the folder is the user's alone, however it was made.
  struct stat st;
  if (::stat(Native(folder).constData(), &st) == 0 && (st.st_mode & 077) && st.st_uid == ::getuid())
    ::chmod(Native(folder).constData(), 0700);
  if (::access(Native(folder).constData(), W_OK | X_OK) != 0) return fail(WhyNotWritten(folder));
  return true;
}

QStringList RecoveryIds(const QString& folder) {
  QStringList ids;
  QSet<QString> seen;
  const QStringList names = QDir(folder).entryList({QStringLiteral("*.png"), QStringLiteral("*.lock")}, QDir::Files);
  for (const QString& name : names) {
    QString id = IdOf(name, QStringLiteral(".png"));
    if (id.isEmpty()) id = IdOf(name, QStringLiteral(".lock"));
    if (!id.isEmpty() && !seen.contains(id)) {
      seen.insert(id);
      ids << id;
    }
  }
  return ids;
}

std::unique_ptr<QLockFile> LockRecoveryId(const QString& folder, const QString& id) {
  const QString path = folder + '/' + id + ".lock";
  auto lock = std::make_unique<QLockFile>(path);
  lock->setStaleLockTime(0);
  if (!lock->tryLock(0)) return nullptr;
  QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
  return lock;
}

void RemoveRecoveryCopy(const QString& folder, const QString& id) {
  QFile::remove(RecoveryCopyPath(folder, id));
  // Where the file system cannot write a file without a name, an interrupted write leaves one.
  QDir dir(folder);
  for (const QString& left : dir.entryList({id + ".png.*"}, QDir::Files | QDir::Hidden)) dir.remove(left);
}
