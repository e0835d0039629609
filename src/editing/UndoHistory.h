#pragma once
#include <QImage>
#include <QString>
#include <QTemporaryDir>
#include <memory>

#include "figures/PicturePair.h"

class Canvas;

// One step of undo and one of redo. The backing copy Img_Copy is the picture before the last
// change (the gesture pipeline also restores previews from it, the floating selection redraws over
// it); the redo file holds the picture the last undo took away. The redo file lives in a private
// temporary folder of this run, so the working directory does not matter and nothing is left behind.
// Each picture kept here is a pair with the canvas's companion; the redo file's companion half is
// kept in memory.
class UndoHistory {
 public:
  UndoHistory();
  ~UndoHistory();

  // The backing copy (empty until the first snapshot).
  PicturePair Img_Copy;

  // Copies the canvas's picture into the backing copy (reusing its buffer).
  void Snapshot(const Canvas& canvas);

  // Undo: writes the picture to the redo file, then puts the backing copy back on the canvas (the
  // canvas keeps its size). Returns false with a message when the redo file cannot be written; the
  // canvas is then unchanged.
  bool Undo(Canvas& canvas, QString* error);
  // Redo: takes a snapshot, then loads the redo file onto the canvas. Returns false with a message
  // when the file cannot be read; the canvas and the backing copy are then unchanged.
  bool Redo(Canvas& canvas, QString* error);

  // Where the redo file is (for tests and messages). Empty until the first undo.
  QString RedoFilePath() const;
  // Tests point the redo file elsewhere (for example into a folder that cannot be written).
  void SetRedoFilePathForTests(const QString& path) { overridePath_ = path; }

 private:
  QString PathForWrite();
  std::unique_ptr<QTemporaryDir> dir_;
  QImage redoCompanion_;
  QString overridePath_;
};
