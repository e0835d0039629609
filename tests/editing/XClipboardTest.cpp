// The clipboard shared with other programs, on a real X server (skipped elsewhere): a PNG offered
// by another program enables Paste and pastes its pixels; Copy's picture reads back unchanged; a
// picture too large to paste is refused. The other program is `xclip`.
#include <gtest/gtest.h>

#include <QClipboard>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "support/EditingDriver.h"

using namespace editing;

namespace {

bool OnX() { return QGuiApplication::platformName() == QLatin1String("xcb"); }

// xclip serving a file on the clipboard, in the foreground (so that it can be stopped), until the
// end of the test.
struct XclipOffer {
  QProcess process;
  bool ready = false;
  XclipOffer(const QString& path, const QString& type) {
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(QStringLiteral("xclip"), {QStringLiteral("-selection"), QStringLiteral("clipboard"),
                                            QStringLiteral("-t"), type, QStringLiteral("-i"), path,
                                            QStringLiteral("-quiet")});
    if (!process.waitForStarted(5000)) return;
    // With -quiet xclip says when it owns the clipboard and waits for requests.
    ready = QTest::qWaitFor([&] { return process.bytesAvailable() > 0 || process.state() != QProcess::Running; }, 5000) &&
            process.state() == QProcess::Running;
  }
  ~XclipOffer() {
    if (process.state() != QProcess::NotRunning) {
      process.kill();
      process.waitForFinished(5000);
    }
  }
};

bool PasteOffered(const WindowDriver& d) { return d.Enabled("Menu_Edit_Paster"); }

QImage Drawing() {
  QImage img(64, 48, QImage::Format_RGB32);
  img.fill(kWhite);
  for (int x = 0; x < 64; ++x) img.setPixel(x, x * 47 / 63, kBlack);
  for (int y = 10; y < 20; ++y)
    for (int x = 40; x < 60; ++x) img.setPixel(x, y, kRed);
  return img;
}

}  // namespace

TEST(XClipboard, PngFromAnotherProgramEnablesPasteAndPastesItsPixels) {
  if (!OnX()) GTEST_SKIP() << "needs a real X server (xcb)";
  if (QStandardPaths::findExecutable("xclip").isEmpty()) GTEST_SKIP() << "xclip is not installed";
  WindowDriver d;
  QGuiApplication::clipboard()->clear();
  ASSERT_TRUE(QTest::qWaitFor([&] { return !PasteOffered(d); }, 1000));

  QTemporaryDir dir;
  const QString path = dir.filePath("f.png");
  const QImage drawing = Drawing();
  ASSERT_TRUE(drawing.save(path, "PNG"));
  XclipOffer offer(path, QStringLiteral("image/png"));
  ASSERT_TRUE(offer.ready) << offer.process.readAll().toStdString();
  EXPECT_TRUE(QTest::qWaitFor([&] { return PasteOffered(d); }, 300)) << "Paste follows the clipboard";

  const QImage picture = Pattern();
  d.OpenPicture(picture);
  d.Trigger("Menu_Edit_Paster");
  EXPECT_EQ(d.Selection().Pixels(), drawing);
  EXPECT_EQ(Differences(d.Image(), AndAt(picture, drawing, {0, 0})), 0);
  EXPECT_EQ(d.Frame()->geometry(), QRect(0, 0, 64, 48));

  // When the other program ends, the clipboard is empty (no clipboard manager here): Paste goes.
  offer.process.kill();
  offer.process.waitForFinished(5000);
  EXPECT_TRUE(QTest::qWaitFor([&] { return !PasteOffered(d); }, 300));
}

TEST(XClipboard, CopiedSelectionReadsBackUnchanged) {
  if (!OnX()) GTEST_SKIP() << "needs a real X server (xcb)";
  if (QStandardPaths::findExecutable("xclip").isEmpty()) GTEST_SKIP() << "xclip is not installed";
  const QImage picture = Pattern();
  SelectedWindow d(picture);
  d.Trigger("Menu_Edit_Copy");

  // The program serves the clipboard from its event loop: read it back without blocking that loop.
  QProcess reader;
  reader.start(QStringLiteral("xclip"), {QStringLiteral("-selection"), QStringLiteral("clipboard"),
                                         QStringLiteral("-o"), QStringLiteral("-t"), QStringLiteral("image/png")});
  ASSERT_TRUE(reader.waitForStarted(5000));
  ASSERT_TRUE(QTest::qWaitFor([&] { return reader.state() == QProcess::NotRunning; }, 10000));
  ASSERT_EQ(reader.exitCode(), 0) << reader.readAllStandardError().toStdString();
  const QImage back = QImage::fromData(reader.readAllStandardOutput(), "PNG");
  ASSERT_FALSE(back.isNull());
  EXPECT_EQ(back.convertToFormat(QImage::Format_RGB32), picture.copy(kSel));
}

TEST(XClipboard, PictureTooLargeToPasteIsRefused) {
  if (!OnX()) GTEST_SKIP() << "needs a real X server (xcb)";
  if (QStandardPaths::findExecutable("xclip").isEmpty()) GTEST_SKIP() << "xclip is not installed";
  // A PNG file claiming 10000 x 10000 pixels (400 MB once decoded): its header is all that is read.
  const QByteArray png = PngHeaderOnly(10000, 10000);
  QTemporaryDir dir;
  const QString path = dir.filePath("huge.png");
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(png);
  f.close();

  WindowDriver d;
  const QImage picture = Pattern();
  d.OpenPicture(picture);
  XclipOffer offer(path, QStringLiteral("image/png"));
  ASSERT_TRUE(offer.ready);
  ASSERT_TRUE(QTest::qWaitFor([&] { return PasteOffered(d); }, 1000));
  d.Trigger("Menu_Edit_Paster");
  ASSERT_EQ(d.dialogs.told.size(), 1);
  EXPECT_TRUE(d.dialogs.told[0].contains(QStringLiteral("太大")));
  EXPECT_EQ(d.Image(), picture);
  EXPECT_FALSE(d.Frame()->isVisible());
}
