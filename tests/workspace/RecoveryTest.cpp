// Nothing lost in a crash: the window keeps a recovery copy of its unsaved work, deletes it when
// the work is saved or given up, and a later start offers back the copies of instances that are
// gone.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QLockFile>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QUuid>
#include <algorithm>
#include <map>
#include <utility>
#include <zlib.h>

#include "document/RecoveryCopy.h"
#include "document/RecoveryFolder.h"
#include "support/WindowDriver.h"
#include "workspace/StartWorkspace.h"

namespace {

using B = QMessageBox::StandardButton;

// Each test has a state folder of its own.
class Recovery : public ::testing::Test {
 protected:
  void SetUp() override {
    old_ = qgetenv("XDG_STATE_HOME");
    qputenv("XDG_STATE_HOME", state_.path().toLocal8Bit());
  }
  void TearDown() override { qputenv("XDG_STATE_HOME", old_); }
  QString Folder() const { return state_.filePath("quillmere"); }
  QTemporaryDir state_;
  QByteArray old_;
};

// The copies in `folder`, by id, as a start would read them.
std::map<QString, RecoveryRead> Copies(const QString& folder) {
  std::map<QString, RecoveryRead> copies;
  for (const QString& id : RecoveryIds(folder)) {
    QFile file(RecoveryCopyPath(folder, id));
    if (file.open(QIODevice::ReadOnly)) copies[id] = ReadRecoveryCopy(file.readAll());
  }
  return copies;
}

// The start as main() makes it, through to its end.
void Start(WindowDriver& d, const QString& file = QString()) {
  bool started = false;
  StartWorkspace(d.w(), file, [&] { started = true; });
  ASSERT_TRUE(QTest::qWaitFor([&] { return started; }, 20000));
}

// A copy as a window that is gone leaves it: no lock, or a stale one.
QString LeaveCopy(const QString& folder, const QByteArray& bytes) {
  EXPECT_TRUE(MakeRecoveryFolder(folder, nullptr));
  const QString id = QUuid::createUuid().toString(QUuid::WithoutBraces);
  QFile file(RecoveryCopyPath(folder, id));
  EXPECT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
  return id;
}

bool Owned(const QString& folder, const QString& id) { return LockRecoveryId(folder, id) == nullptr; }

void Figure(WindowDriver& d, int tool, QPointF from, QPointF to) {
  d.ClickTool(tool);
  d.Drag(from, to);
}

}  // namespace

// Not a test of its own: the program that Recovery.KilledBySignal9TheWorkComesBackWhole starts,
// which opens a file, draws, notes what it shows and waits to be killed.
TEST(RecoveryKilledProgram, DrawsThenWaitsForTheSignal) {
  const QString dir = qEnvironmentVariable("QM_RECOVERY_CHILD");
  if (dir.isEmpty()) GTEST_SKIP() << "runs only as the program the kill test kills";
  qputenv("XDG_STATE_HOME", qgetenv("QM_RECOVERY_STATE"));
  WindowDriver d;
  d.dialogs.openNames = {dir + "/start.png"};
  d.Trigger("Menu_File_Open");
  Figure(d, 7, {20, 15}, {140, 90});
  Figure(d, 6, {30, 170}, {290, 40});  // a slant: detail that only the companion holds
  Figure(d, 9, {200, 60}, {300, 150});
  ASSERT_TRUE(d.Image().save(dir + "/picture.png") && d.Picture().Companion().save(dir + "/companion.png"));
  QFile caption(dir + "/caption.txt");
  ASSERT_TRUE(caption.open(QIODevice::WriteOnly));
  caption.write(d.w().windowTitle().toUtf8());
  caption.close();
  QFile drawn(dir + "/drawn.tmp");
  ASSERT_TRUE(drawn.open(QIODevice::WriteOnly));
  drawn.write(QByteArray::number(QDateTime::currentMSecsSinceEpoch()));
  drawn.close();
  ASSERT_TRUE(drawn.rename(dir + "/drawn"));
  // Until the signal comes; a test that lost its program ends it after a while.
  QTest::qWait(180000);
}

// A real program with a real window draws, keeps its copy, and is killed with signal 9. While it
// ran, a second instance started and offered nothing of it; now a start offers it, and 是 brings
// back its pixels and companion exactly, as unsaved work of its file.
TEST_F(Recovery, KilledBySignal9TheWorkComesBackWhole) {
  QTemporaryDir child;
  QImage start(320, 200, QImage::Format_RGB32);
  start.fill(qRgb(250, 240, 200));
  ASSERT_TRUE(start.save(child.filePath("start.png")));
  QProcess program;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("QM_RECOVERY_CHILD", child.path());
  env.insert("QM_RECOVERY_STATE", state_.path());
  // The killed program leaves its temporary folders behind: they go with this test's.
  env.insert("TMPDIR", child.path());
  program.setProcessEnvironment(env);
  program.setStandardOutputFile(QProcess::nullDevice());
  program.start(QCoreApplication::applicationFilePath(), {"--gtest_filter=RecoveryKilledProgram.*"});
  ASSERT_TRUE(program.waitForStarted());
  ASSERT_TRUE(QTest::qWaitFor([&] { return QFile::exists(child.filePath("drawn")); }, 120000));
  QFile marker(child.filePath("drawn"));
  ASSERT_TRUE(marker.open(QIODevice::ReadOnly));
  const qint64 drawnAt = marker.readAll().toLongLong();
  // A copy taken after the last change, and at most 10 s after it: no more of the work can be lost.
  qint64 takenAt = 0;
  ASSERT_TRUE(QTest::qWaitFor(
      [&] {
        for (const auto& [id, copy] : Copies(Folder()))
          if (copy.verdict == RecoveryVerdict::Whole && copy.note.taken.toMSecsSinceEpoch() >= drawnAt)
            takenAt = copy.note.taken.toMSecsSinceEpoch();
        return takenAt != 0;
      },
      60000));
  EXPECT_LE(takenAt - drawnAt, 10000) << "the copy was taken " << takenAt - drawnAt << " ms after the last change";
  {
    WindowDriver other;
    Start(other);
    EXPECT_TRUE(other.dialogs.asked.isEmpty()) << "the running program's copy is its own";
  }
  program.kill();  // SIGKILL
  ASSERT_TRUE(program.waitForFinished(30000));
  EXPECT_EQ(program.exitStatus(), QProcess::CrashExit);

  WindowDriver d;
  d.dialogs.answers = {B::Yes};
  Start(d);
  ASSERT_EQ(d.dialogs.asked.size(), 1);
  EXPECT_TRUE(QRegularExpression(QStringLiteral("^恢复未保存的图像\\|发现上次未保存的图像（(今天|昨天) \\d\\d:\\d\\d，"
                                                "start\\.png），是否恢复？$"))
                  .match(d.dialogs.asked[0])
                  .hasMatch())
      << d.dialogs.asked[0].toStdString();
  EXPECT_EQ(d.Image(), QImage(child.filePath("picture.png")).convertToFormat(QImage::Format_RGB32));
  EXPECT_EQ(d.Picture().Companion(), QImage(child.filePath("companion.png")).convertToFormat(QImage::Format_RGB32));
  EXPECT_TRUE(d.State().ImageChanged);
  EXPECT_TRUE(d.State().EnlargedParts) << "the opened file came from elsewhere";
  QFile caption(child.filePath("caption.txt"));
  ASSERT_TRUE(caption.open(QIODevice::ReadOnly));
  EXPECT_EQ(d.w().windowTitle(), QString::fromUtf8(caption.readAll()));
  const auto copies = Copies(Folder());
  ASSERT_EQ(copies.size(), 1u);
  EXPECT_TRUE(Owned(Folder(), copies.begin()->first)) << "the recovered copy is this window's now";

  // The file was changed since it was opened: saving over it asks first, as it always does.
  start.fill(qRgb(0, 0, 255));
  ASSERT_TRUE(start.save(child.filePath("start.png")));
  d.dialogs.saveNames = {child.filePath("start.png")};
  d.dialogs.answers = {B::No};
  d.Trigger("Menu_File_Save");
  EXPECT_TRUE(d.dialogs.asked.last().contains(QStringLiteral("“start.png”已被其他程序修改"))) << d.dialogs.asked.last().toStdString();
}

// The copy goes when the work is saved or given up (保存, 新建 with 否, a file read whole, closing
// after 否), and stays while the work is still in no file (a question dismissed).
TEST_F(Recovery, TheCopyGoesWithTheWorkAndOnlyThen) {
  QTemporaryDir dir;
  QImage opened(100, 80, QImage::Format_RGB32);
  opened.fill(qRgb(200, 220, 240));
  ASSERT_TRUE(opened.save(dir.filePath("opened.png")));
  const struct {
    const char* what;
    std::function<void(WindowDriver&)> act;
    bool kept;
  } cases[] = {
      {"保存", [&](WindowDriver& d) { d.dialogs.saveNames = {dir.filePath("saved.png")}; d.Trigger("Menu_File_Save"); }, false},
      {"新建, 否", [](WindowDriver& d) { d.dialogs.answers = {B::No}; d.Trigger("Menu_File_New"); }, false},
      {"a file read whole",
       [&](WindowDriver& d) {
         d.dialogs.answers = {B::No};
         d.dialogs.openNames = {dir.filePath("opened.png")};
         d.Trigger("Menu_File_Open");
       },
       false},
      {"closing, 否", [](WindowDriver& d) { d.dialogs.answers = {B::No}; d.w().close(); }, false},
      {"closing dismissed", [](WindowDriver& d) { d.dialogs.answers = {B::Cancel}; d.w().close(); }, true},
      {"新建 dismissed", [](WindowDriver& d) { d.dialogs.answers = {B::Cancel}; d.Trigger("Menu_File_New"); }, true},
  };
  std::vector<std::unique_ptr<WindowDriver>> windows;
  for (size_t i = 0; i < std::size(cases); ++i) {
    windows.push_back(std::make_unique<WindowDriver>());
    Figure(*windows.back(), 7, {10.0 + 30 * i, 10}, {35.0 + 30 * i, 50});
  }
  ASSERT_TRUE(QTest::qWaitFor([&] { return Copies(Folder()).size() == std::size(cases); }, 60000));
  for (size_t i = 0; i < std::size(cases); ++i) {
    windows[i]->dialogs.Install();
    cases[i].act(*windows[i]);
  }
  ASSERT_TRUE(QTest::qWaitFor([&] { return Copies(Folder()).size() == 2; }, 30000));
  for (const auto& [id, copy] : Copies(Folder())) {
    size_t i = 0;
    while (i < windows.size() && windows[i]->Image() != copy.picture.image) ++i;
    ASSERT_LT(i, windows.size());
    EXPECT_TRUE(cases[i].kept) << cases[i].what;
  }
}

// Work that goes on is copied while it goes on: a change does not put off the copy an earlier
// change made due, so the copy is never more than seconds behind.
TEST_F(Recovery, WorkThatGoesOnIsCopiedWhileItGoesOn) {
  WindowDriver d;
  QElapsedTimer working;
  working.start();
  bool copied = false;
  for (int i = 0; !copied && working.elapsed() < 10000; ++i) {
    Figure(d, 7, {5.0 + 7 * (i % 60), 5}, {40.0 + 7 * (i % 60), 60});
    QTest::qWait(RecoveryKeeper::kDelayMs / 4);
    copied = !RecoveryIds(Folder()).isEmpty();
  }
  EXPECT_TRUE(copied) << "10 s of work, a change every " << RecoveryKeeper::kDelayMs / 4 << " ms, and no copy";
}

// Two instances starting at once: a copy left behind is offered by one of them only, which holds
// it while it asks, and the copy each running instance keeps is never offered by another.
TEST_F(Recovery, TwoInstancesOfferNothingOfEachOther) {
  Canvas left(120, 60);
  left.Line(5, 5, 110, 50);
  RecoveryNote note;
  note.caption = QStringLiteral("※Quillmere※～～新建图像");
  note.taken = QDateTime::currentDateTimeUtc();
  const QString leftId = LeaveCopy(Folder(), EncodeRecoveryCopy(left.Pair(), note));
  // The first instance's questions, and the second's whole start in the middle of the first one.
  struct FirstSeam : ScriptedDialogs {
    std::function<void()> whileAsking;
    QMessageBox::StandardButton Ask(QWidget* parent, const QString& title, const QString& text,
                                    QMessageBox::StandardButtons buttons) override {
      if (whileAsking) std::exchange(whileAsking, {})();
      return ScriptedDialogs::Ask(parent, title, text, buttons);
    }
  };
  WindowDriver first;
  FirstSeam seam;
  seam.answers = {B::No};
  std::unique_ptr<WindowDriver> second;
  seam.whileAsking = [&] {
    second = std::make_unique<WindowDriver>();
    Start(*second);
    EXPECT_TRUE(second->dialogs.asked.isEmpty()) << "the copy the first instance offers is offered again";
    seam.Install();
  };
  Start(first);
  ASSERT_TRUE(second);
  EXPECT_EQ(seam.asked.size(), 1);
  EXPECT_FALSE(QFile::exists(RecoveryCopyPath(Folder(), leftId))) << "否 deletes the copy";

  // Both hold work, each its copy; a third start offers neither.
  Figure(first, 7, {10, 10}, {60, 40});
  Figure(*second, 9, {20, 20}, {90, 60});
  ASSERT_TRUE(QTest::qWaitFor([&] { return Copies(Folder()).size() == 2; }, 30000));
  WindowDriver third;
  Start(third);
  EXPECT_TRUE(third.dialogs.asked.isEmpty()) << third.dialogs.asked.join(" / ").toStdString();
  for (const QString& id : RecoveryIds(Folder())) EXPECT_TRUE(Owned(Folder(), id));
}

// Taken in the middle of a gesture the copy would hold a preview or pixels in flight: it waits
// for the gesture's end, and then holds what the gesture left.
TEST_F(Recovery, NoCopyInTheMiddleOfAGesture) {
  const struct {
    const char* what;
    std::function<void(WindowDriver&)> begin, end;
  } cases[] = {
      {"a drag",
       [](WindowDriver& d) {
         d.ClickTool(9);
         d.Press({50, 50});
         d.Move({120, 90});
       },
       [](WindowDriver& d) { d.Release({120, 90}); }},
      {"a moving selection",
       [](WindowDriver& d) {
         d.ClickTool(1);
         d.Drag({5, 5}, {60, 60});
         d.FramePress({10, 10});
         d.FrameMove({60, 40});
       },
       [](WindowDriver& d) { d.FrameRelease({60, 40}); }},
      {"a text on show",
       [](WindowDriver& d) {
         d.ClickTool(3);
         d.Press({150, 40});
         d.Release({150, 40});
         d.Find<QComboBox>("Txt")->setEditText(QStringLiteral("F=ma"));
       },
       [](WindowDriver& d) { d.Find<QPushButton>("Command1")->click(); }},
  };
  std::vector<std::unique_ptr<WindowDriver>> windows;
  for (const auto& c : cases) {
    windows.push_back(std::make_unique<WindowDriver>());
    Figure(*windows.back(), 7, {10, 10}, {40, 40});  // work, and a copy due
    c.begin(*windows.back());
  }
  QTest::qWait(2 * RecoveryKeeper::kDelayMs + 500);
  EXPECT_TRUE(Copies(Folder()).empty()) << "a copy was taken in the middle of a gesture";
  for (size_t i = 0; i < std::size(cases); ++i) cases[i].end(*windows[i]);
  ASSERT_TRUE(QTest::qWaitFor([&] { return Copies(Folder()).size() == std::size(cases); }, 30000));
  const auto copies = Copies(Folder());
  for (size_t i = 0; i < std::size(cases); ++i) {
    bool found = false;
    for (const auto& [id, copy] : copies) found = found || copy.picture.image == windows[i]->Image();
    EXPECT_TRUE(found) << cases[i].what << ": no copy holds what the gesture left";
  }
}

// At the start, every copy no running instance owns is offered, newest first, one question each:
// 否 deletes it, a dismissed question keeps it, the first 是 recovers it and ends the questions. A
// file named on the command line waits for the questions: 是 leaves it unopened and says so. A
// damaged copy is deleted with a message; one of a later version is kept and named.
TEST_F(Recovery, StartOffersWhatIsLeftNewestFirst) {
  QTemporaryDir dir;
  const QString named = dir.filePath("named.png");
  QImage file(200, 100, QImage::Format_RGB32);
  file.fill(qRgb(30, 90, 200));
  ASSERT_TRUE(file.save(named));
  auto pictureOf = [](int x) {
    Canvas canvas(300, 150);
    canvas.SetCompanion(4);
    canvas.Line(x, 10, 250, 140);
    canvas.CommitCompanion();
    return canvas.Pair();
  };
  auto noteOf = [](const QString& name, qint64 minutesAgo) {
    RecoveryNote note;
    note.fileName = "/home/teacher/" + name;
    note.caption = "※Quillmere※～～" + note.fileName;
    note.formatName = "PNG";
    note.taken = QDateTime::currentDateTimeUtc().addSecs(-60 * minutesAgo);
    return note;
  };
  const PicturePair older = pictureOf(10), newer = pictureOf(90);
  const QByteArray olderCopy = EncodeRecoveryCopy(older, noteOf("older.png", 600));
  const QByteArray newerCopy = EncodeRecoveryCopy(newer, noteOf("newer.png", 2));
  // A copy of a later version: the note's version raised, its checksum made right.
  QByteArray laterCopy = olderCopy;
  laterCopy[41] = char(kRecoveryCopyVersion + 1);
  const quint32 length = quint32(uchar(laterCopy[33])) << 24 | quint32(uchar(laterCopy[34])) << 16 |
                         quint32(uchar(laterCopy[35])) << 8 | quint32(uchar(laterCopy[36]));
  const quint32 crc = quint32(crc32(0, reinterpret_cast<const Bytef*>(laterCopy.constData()) + 37, length + 4));
  for (int i = 0; i < 4; ++i) laterCopy[41 + qsizetype(length) + i] = char(crc >> (24 - 8 * i));

  enum Which { Older, Newer, Later, Damaged };
  const struct {
    const char* what;
    std::vector<Which> left;
    bool withFile;
    std::deque<B> answers;
    QStringList asked;  // the files named by the questions, in order
    const PicturePair* recovered;
    std::vector<Which> kept, owned;  // what stays on disk, and which of it is the window's now
    QStringList told;
  } cases[] = {
      {"否, then 是", {Older, Newer}, false, {B::No, B::Yes}, {"newer.png", "older.png"}, &older, {Older}, {Older}, {}},
      {"the first 是 ends the questions", {Older, Newer}, false, {B::Yes}, {"newer.png"}, &newer, {Older, Newer}, {Newer}, {}},
      {"是, with a file", {Older}, true, {B::Yes}, {"older.png"}, &older, {Older}, {Older}, {"命令行中的文件没有打开。"}},
      {"否, with a file", {Older}, true, {B::No}, {"older.png"}, nullptr, {}, {}, {}},
      {"dismissed, with a file", {Older}, true, {B::Cancel}, {"older.png"}, nullptr, {Older}, {}, {}},
      {"damaged and later copies",
       {Damaged, Later, Newer},
       false,
       {B::Yes},
       {"newer.png"},
       &newer,
       {Later, Newer},
       {Newer},
       {"已损坏", "由更新版本的 Quillmere 写入"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    QDir(Folder()).removeRecursively();
    std::map<Which, QString> ids;
    for (Which w : c.left)
      ids[w] = LeaveCopy(Folder(), w == Older ? olderCopy : w == Newer ? newerCopy : w == Later ? laterCopy : "not a copy");
    WindowDriver d;
    d.dialogs.answers = c.answers;
    Start(d, c.withFile ? named : QString());
    QStringList asked;
    for (const QString& q : d.dialogs.asked)
      asked << q.section(QStringLiteral("，"), 1).section(QStringLiteral("）"), 0, 0);
    EXPECT_EQ(asked, c.asked);
    for (const QString& t : c.told)
      EXPECT_EQ(d.dialogs.told.filter(t).size(), 1) << t.toStdString() << " in " << d.dialogs.told.join(" / ").toStdString();
    if (std::count(c.left.begin(), c.left.end(), Later)) {
      EXPECT_EQ(d.dialogs.told.filter(RecoveryCopyPath(Folder(), ids[Later])).size(), 1) << "the later copy is named";
    }
    if (c.recovered) {
      EXPECT_EQ(d.Image(), c.recovered->image);
      EXPECT_EQ(d.Picture().Companion(), c.recovered->companion);
      EXPECT_TRUE(d.State().ImageChanged);
      EXPECT_EQ(d.w().windowTitle(), QStringLiteral("※Quillmere※～～/home/teacher/") +
                                         (c.recovered == &older ? "older.png" : "newer.png"));
    } else {
      EXPECT_EQ(d.w().windowTitle(), QStringLiteral("※Quillmere※～～") + named) << "the named file opened";
    }
    for (const auto& [w, id] : ids) {
      const bool kept = std::count(c.kept.begin(), c.kept.end(), w) > 0;
      EXPECT_EQ(QFile::exists(RecoveryCopyPath(Folder(), id)), kept) << int(w);
      if (kept) {
        EXPECT_EQ(Owned(Folder(), id), std::count(c.owned.begin(), c.owned.end(), w) > 0) << int(w);
      }
    }
  }
}

// A recovery folder that cannot be written: the work goes on and is saved as ever, and the
// program says so once.
TEST_F(Recovery, AFolderThatCannotBeWrittenIsSaidOnce) {
  QFile inTheWay(Folder());
  ASSERT_TRUE(inTheWay.open(QIODevice::WriteOnly));
  inTheWay.close();
  QTemporaryDir dir;
  WindowDriver d;
  Figure(d, 7, {10, 10}, {60, 40});
  ASSERT_TRUE(QTest::qWaitFor([&] { return !d.dialogs.told.isEmpty(); }, 30000));
  EXPECT_TRUE(d.dialogs.told[0].startsWith(QStringLiteral("恢复副本|无法保存恢复副本：“") + Folder() + "”不是文件夹"))
      << d.dialogs.told[0].toStdString();
  Figure(d, 9, {80, 20}, {160, 90});
  QTest::qWait(2 * RecoveryKeeper::kDelayMs + 500);
  EXPECT_EQ(d.dialogs.told.size(), 1) << "said once";
  d.dialogs.saveNames = {dir.filePath("saved.png")};
  d.Trigger("Menu_File_Save");
  EXPECT_FALSE(d.State().ImageChanged);
  EXPECT_EQ(ReadPictureFile(dir.filePath("saved.png")).image, d.Image());
}
