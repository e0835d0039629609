#pragma once
#include <QString>
#include <QStringList>
#include <memory>

class QLockFile;

// Where recovery copies live: $XDG_STATE_HOME/quillmere/, or ~/.local/state/quillmere/ when the
// variable is unset, empty or not an absolute path. The folder is the user's alone (mode 0700);
// each running window that holds unsaved work keeps one copy in it:
//   <id>.png   the copy (RecoveryCopy.h), mode 0600
//   <id>.lock  the QLockFile of the window that owns the copy, mode 0600
// where <id> is a random UUID. A lock is stale only when its process is gone, never because it is
// old (setStaleLockTime(0)): a copy whose lock is stale, or that has none, belongs to no one.

QString RecoveryFolderPath();
QString RecoveryCopyPath(const QString& folder, const QString& id);

// Makes `folder` and whatever it lies in with mode 0700 where they are missing, and checks that
// copies can be written there. False, with the reason in Chinese, when they cannot.
bool MakeRecoveryFolder(const QString& folder, QString* reason);
// Why nothing can be written into `folder` (a full disk, a read-only file system, no permission),
// in Chinese, after a write failed.
QString WhyNotWritten(const QString& folder);

// The ids of the copies in `folder` (files <uuid>.png), and of locks left without their copy.
QStringList RecoveryIds(const QString& folder);
// The lock of `id`, taken: null when a running instance holds it or it cannot be taken.
std::unique_ptr<QLockFile> LockRecoveryId(const QString& folder, const QString& id);
// Deletes the copy `id` (and what an interrupted write of it may have left). The caller holds its
// lock.
void RemoveRecoveryCopy(const QString& folder, const QString& id);
