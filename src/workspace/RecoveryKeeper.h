#pragma once
#include <QObject>
#include <QString>
#include <functional>
#include <memory>

#include "document/RecoveryCopy.h"
#include "figures/PicturePair.h"

class QLockFile;
class QTimer;
class RecoveryWriter;

// The window's recovery copy follows the window's unsaved work. A change arms it: kDelayMs later
// the copy is taken, unless a gesture is under way (a drag, a moving selection, a text on show),
// when it waits for the gesture's end and is taken at most kRetryMs after it. Changes made
// meanwhile are in that copy; the next change arms it again. So continuous work is never more than
// kDelayMs plus one encoding behind, outside gestures. Saving, a file read whole or 新建 with 否
// (ImageChanged becoming false), and closing after the save question, delete the copy.
//
// Taking the copy costs the interface thread implicitly shared copies of the picture and its
// companion; the writer's thread encodes and writes them (RecoveryWriter). Nothing here starts
// before the first change: no thread, no folder, no lock.
class RecoveryKeeper : public QObject {
 public:
  struct Copy {
    PicturePair picture;
    RecoveryNote note;
  };
  // What the keeper asks of its window.
  struct Window {
    std::function<bool()> busy;                // a gesture is under way: the copy waits
    std::function<Copy()> take;                // the picture and what the window knows of it, now
    std::function<void(const QString&)> tell;  // says that no copy can be kept (asked once)
  };
  static constexpr int kDelayMs = 2000;
  static constexpr int kRetryMs = 250;

  RecoveryKeeper(Window window, QObject* parent = nullptr);
  // Finishes the writes and deletions asked for.
  ~RecoveryKeeper() override;

  // Every assignment of ImageChanged: true arms the copy, false deletes it.
  void Note(bool changed);
  // Deletes the copy: the program closes after the save question was answered.
  void Discard();
  // The copy `id`, recovered into the window (its lock taken), is the window's copy from now on,
  // and as current as the picture: nothing is due.
  void Adopt(const QString& id, std::unique_ptr<QLockFile> lock);

 private:
  void Due();
  void Failed(const QString& why);
  RecoveryWriter& Writer();

  Window window_;
  QTimer* timer_ = nullptr;
  std::unique_ptr<RecoveryWriter> writer_;
  QString untold_;     // why no copy could be kept, waiting for the end of a gesture to be told
  bool told_ = false;  // the window said so already
};
