// The high-resolution companion through a teacher's session in the real window: after every edit
// (a figure, a fill, the eraser, a selection moved, turned 30 degrees and flipped, a paste, a label
// with scripts, a resize, undo and redo) the companion agrees with the picture within a pixel. A
// white picture's companion, never made until something reaches it, gives what a white one gives.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QMimeData>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <functional>

#include "support/EditingDriver.h"
#include "support/Faithfulness.h"
#include "support/WindowDriver.h"

namespace {

::testing::AssertionResult Faithful(const WindowDriver& d) {
  const Canvas& c = d.Picture();
  if (c.k() < 2) return ::testing::AssertionFailure() << "no companion at " << c.Width() << "x" << c.Height();
  const QString why = faithfulness::Check(c.Raster(), c.Companion(), c.k());
  if (why.isEmpty()) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << why.toStdString();
}

TEST(CompanionSession, EveryEditKeepsTheCompanionFaithful) {
  WindowDriver d;
  ASSERT_EQ(d.Picture().k(), 4) << "a new 600 x 220 picture keeps its companion at 4 times";
  QImage clip(40, 30, QImage::Format_RGB32);
  clip.fill(Qt::white);
  for (int i = 0; i < 30; ++i) clip.setPixel(i, i, qRgb(0, 128, 0));
  struct Step {
    const char* what;
    std::function<void()> run;
  };
  const Step steps[] = {
      {"a sine wave", [&] { d.ClickTool(11); d.Drag({40, 110}, {300, 40}); }},
      {"a circle", [&] { d.ClickTool(10); d.Drag({150, 110}, {190, 140}); }},
      {"a cross-hatched fill inside the circle", [&] {
         QTest::mouseClick(d.Find<QAbstractButton>("FStay6"), Qt::LeftButton);
         d.ClickTool(24);
         d.Press({165, 120});
         d.Release({165, 120});
       }},
      {"the eraser across the wave", [&] { d.ClickTool(2); d.Drag({60, 60}, {200, 120}, 12); }},
      {"a selection moved", [&] {
         d.ClickTool(1);
         d.Drag({100, 50}, {220, 160});
         d.FramePress({150, 100});
         d.FrameMove({190, 120});
         d.FrameRelease({190, 120});
       }},
      {"turned 30 degrees", [&] { d.Trigger("Menu_Rot_Nss"); }},
      {"flipped", [&] { d.Trigger("Menu_Rot_Sp"); }},
      {"a paste", [&] {
         QApplication::clipboard()->setImage(clip);
         d.Trigger("Menu_Edit_Paster");
       }},
      {"a label with scripts", [&] {
         d.ClickTool(3);
         d.Press({400, 60});
         d.Release({400, 60});
         auto* txt = d.Find<QComboBox>("Txt");
         txt->setEditText(QStringLiteral("v_0=3m/s^2 F⃗"));
         QTest::mouseClick(d.Find<QPushButton>("Command1"), Qt::LeftButton);
       }},
      {"a wider picture", [&] { d.ResizePicture(700, 240); }},
      {"undo", [&] { d.Trigger("Menu_Edit_Undo"); }},
      {"redo", [&] { d.Trigger("Menu_Edit_Redo"); }},
  };
  for (const Step& s : steps) {
    const QImage before = d.Image();
    s.run();
    EXPECT_NE(d.Image(), before) << s.what << " changed nothing";
    EXPECT_TRUE(Faithful(d)) << "after " << s.what;
    // Not the picture's pixels enlarged: the curves carry their own detail.
    if (&s == &steps[0]) {
      EXPECT_NE(d.Picture().Companion(), Enlarged(d.Image(), 4));
    }
  }
  // The companion is the picture at its scale, not a stale one.
  EXPECT_EQ(d.Picture().Companion().size(), d.Picture().Size() * d.Picture().k());
}

TEST(CompanionSession, APictureTooLargeKeepsNoCompanionAndNewChoosesAgain) {
  WindowDriver d;
  d.ResizePicture(3000, 2000);
  EXPECT_EQ(d.Picture().k(), 1);
  EXPECT_TRUE(d.Picture().Companion().isNull());
  QImage small(300, 200, QImage::Format_RGB32);
  small.fill(Qt::white);
  ASSERT_TRUE(d.OpenPicture(small));
  EXPECT_EQ(d.Picture().k(), 4) << "opening a small picture chooses the scale again";
}

QByteArray FileBytes(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// What leaves the window: the picture exported whole, 复制高清图's PNG, the printed page (the
// images its PDF file holds, the page rendered, the print dialog's note), and last the picture
// saved as a PNG file with its detail.
struct Outputs {
  QByteArray exported, copied, saved;
  QString printedImages;
  QImage page;
  QStringList notes;
};

Outputs Of(WindowDriver& d) {
  Outputs out;
  QTemporaryDir dir;
  d.dialogs.Install();
  d.dialogs.exports = {false};
  d.dialogs.saveNames = {dir.filePath("export.png")};
  d.Trigger("Menu_File_Export");
  out.exported = FileBytes(dir.filePath("export.png"));
  QGuiApplication::clipboard()->clear();
  d.Trigger("Menu_Edit_CopyHd");
  if (const QMimeData* data = QGuiApplication::clipboard()->mimeData()) out.copied = data->data("image/png");
  d.dialogs.printPdf = dir.filePath("page.pdf");
  d.Trigger("Menu_File_Print");
  d.dialogs.printPdf.clear();
  out.notes = d.dialogs.printNotes;
  QProcess list, render;
  list.start(QStandardPaths::findExecutable("pdfimages"), {"-list", dir.filePath("page.pdf")});
  if (list.waitForFinished(60000)) out.printedImages = QString::fromUtf8(list.readAllStandardOutput());
  render.start(QStandardPaths::findExecutable("pdftoppm"),
               {"-r", "48", "-png", "-singlefile", dir.filePath("page.pdf"), dir.filePath("page")});
  if (render.waitForFinished(60000)) out.page = QImage(dir.filePath("page.png"));
  d.dialogs.saveNames = {dir.filePath("saved.png")};
  d.Trigger("Menu_File_Save");
  out.saved = FileBytes(dir.filePath("saved.png"));
  return out;
}

TEST(CompanionSession, AWhitePicturesUnmadeCompanionGivesWhatAWhiteOneGives) {
  ASSERT_FALSE(QStandardPaths::findExecutable("pdfimages").isEmpty() || QStandardPaths::findExecutable("pdftoppm").isEmpty())
      << "needs pdfimages and pdftoppm (poppler-utils: scripts/install-deps.sh test)";
  QImage clip(40, 30, QImage::Format_RGB32);
  clip.fill(Qt::white);
  for (int i = 0; i < 30; ++i) clip.setPixel(i, i, qRgb(0, 128, 0));
  struct Case {
    const char* what;
    std::function<void(WindowDriver&)> run;
  };
  const Case cases[] = {
      {"a new picture", [](WindowDriver&) {}},
      {"a paste onto it", [&](WindowDriver& d) {
         QApplication::clipboard()->setImage(clip);
         d.Trigger("Menu_Edit_Paster");
         editing::MoveSelection(d, 50, 20);
         d.ClickTool(7);  // the pasted picture stays where it was put
       }},
      {"a box undone", [](WindowDriver& d) {
         d.ClickTool(7);
         d.Drag({40, 30}, {120, 90});
         d.Trigger("Menu_Edit_Undo");
       }},
      {"a larger white picture", [](WindowDriver& d) { d.ResizePicture(700, 240); }},
      {"a white picture too large for 4 times", [](WindowDriver& d) { d.ResizePicture(1100, 1000); }},
  };
  for (const Case& c : cases) {
    WindowDriver unmade, made;
    // The same white picture with a white companion of its own.
    QImage white(600, 220, QImage::Format_RGB32);
    white.fill(Qt::white);
    const_cast<Canvas&>(made.Picture()).SetPicture(PicturePair{white, Enlarged(white, 4)});
    ASSERT_FALSE(unmade.Picture().CompanionAllocated()) << "a new picture's companion is made when first reached";
    ASSERT_TRUE(made.Picture().CompanionAllocated());
    for (WindowDriver* d : {&unmade, &made}) {
      d->dialogs.Install();
      c.run(*d);
    }
    EXPECT_EQ(unmade.Picture().k(), made.Picture().k()) << c.what;
    EXPECT_EQ(unmade.Image(), made.Image()) << c.what;
    EXPECT_EQ(unmade.Picture().Companion(), made.Picture().Companion()) << c.what;
    EXPECT_TRUE(Faithful(unmade)) << c.what;
    const Outputs a = Of(unmade), b = Of(made);
    EXPECT_FALSE(a.exported.isEmpty() || a.copied.isEmpty() || a.saved.isEmpty() || a.page.isNull()) << c.what;
    EXPECT_EQ(a.exported, b.exported) << c.what;
    EXPECT_EQ(a.copied, b.copied) << c.what;
    EXPECT_EQ(a.printedImages.toStdString(), b.printedImages.toStdString()) << c.what;
    EXPECT_EQ(a.page, b.page) << c.what;
    EXPECT_EQ(a.notes, b.notes) << c.what;
    EXPECT_EQ(a.saved, b.saved) << c.what;
    EXPECT_TRUE(unmade.dialogs.told.isEmpty()) << c.what << unmade.dialogs.told.join('\n').toStdString();
    // Reading it made nothing: what went out was white at k.
    if (&c == &cases[0]) {
      EXPECT_FALSE(unmade.Picture().CompanionAllocated());
    }
  }
}

}  // namespace
