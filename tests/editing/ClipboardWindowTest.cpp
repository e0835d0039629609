// Copy, cut, paste and delete through the real window with the in-process clipboard: what goes on
// the clipboard, how a paste lands, enlarges the canvas and is undone, Paste following the
// clipboard, and the refusal of pictures too large to paste.
#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QTimer>
#include <functional>

#include "support/EditingDriver.h"

using namespace editing;

namespace {

QClipboard* Clip() { return QGuiApplication::clipboard(); }

// A white picture with a black frame and a blue dot: what a user copies from elsewhere.
QImage Clipping(int w, int h) {
  QImage img(w, h, QImage::Format_RGB32);
  img.fill(kWhite);
  for (int x = 0; x < w; ++x) img.setPixel(x, 0, kBlack), img.setPixel(x, h - 1, kBlack);
  for (int y = 0; y < h; ++y) img.setPixel(0, y, kBlack), img.setPixel(w - 1, y, kBlack);
  img.setPixel(w / 2, h / 2, kBlue);
  return img;
}

bool PasteOffered(const WindowDriver& d) { return d.Enabled("Menu_Edit_Paster"); }

// One tick of the window's clipboard poll (TM): the next look at the clipboard.
void LookAtClipboard(WindowDriver& d) { QMetaObject::invokeMethod(d.Find<QTimer>("TM"), "timeout"); }

}  // namespace

TEST(ClipboardWindow, CopyPutsTheSelectionsOwnPixelsAsPngAndBmp) {
  const QImage picture = Pattern();
  WindowDriver d;
  d.OpenPicture(picture);
  Clip()->clear();
  ASSERT_FALSE(PasteOffered(d));
  Select(d, kSel);
  MoveSelection(d, 15, 10);  // overlapping its old place: the canvas there is no longer the selection
  d.ClickToolbar("Menu_Edit_Copy");
  EXPECT_TRUE(PasteOffered(d)) << "Paste is offered at once";
  EXPECT_EQ(Clip()->image().convertToFormat(QImage::Format_RGB32), picture.copy(kSel));
  const QMimeData* data = Clip()->mimeData();
  ASSERT_NE(data, nullptr);
  for (const char* format : {"image/png", "image/bmp"}) {
    ASSERT_TRUE(data->hasFormat(format)) << format;
    EXPECT_EQ(QImage::fromData(data->data(format)).convertToFormat(QImage::Format_RGB32), picture.copy(kSel)) << format;
  }
}

TEST(ClipboardWindow, CopyKeysWithoutASelectionLeaveTheClipboardAlone) {
  WindowDriver d;
  Clip()->setImage(Clipping(20, 20));
  // Copy is not offered: neither its key nor Ctrl+C typed on the canvas (character code 3) copies.
  d.Surface()->setFocus();
  QTest::keyClick(d.Surface(), Qt::Key_C, Qt::ControlModifier);
  KeyDown(d, Qt::Key_C, Qt::ControlModifier, QString(QChar(3)));
  ASSERT_TRUE(Clip()->mimeData() && Clip()->mimeData()->hasImage());
  EXPECT_EQ(Clip()->image().size(), QSize(20, 20));
  LookAtClipboard(d);
  EXPECT_TRUE(PasteOffered(d));
}

TEST(ClipboardWindow, PasteFollowsTheClipboard) {
  WindowDriver d;
  Clip()->clear();
  EXPECT_FALSE(PasteOffered(d));
  Clip()->setImage(Clipping(30, 20));
  EXPECT_TRUE(QTest::qWaitFor([&] { return PasteOffered(d); }, 300));
  Clip()->setText(QStringLiteral("F=ma"));
  EXPECT_TRUE(QTest::qWaitFor([&] { return !PasteOffered(d); }, 300)) << "text is no picture";
  // Paste that is not offered does nothing, whatever reaches it.
  const QImage before = d.Image();
  d.Trigger("Menu_Edit_Paster");
  QTest::keyClick(d.Surface(), Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(d.Image(), before);
  EXPECT_FALSE(d.Frame()->isVisible());
  EXPECT_FALSE(d.Enabled("Menu_Edit_Undo"));
}

TEST(ClipboardWindow, CutOfAMovedSelectionCopiesItAndTakesItAway) {
  const QImage picture = Pattern();
  SelectedWindow d(picture);
  MoveSelection(d, 200, 50);
  d.Trigger("Menu_Edit_Cut");
  EXPECT_EQ(Clip()->image().convertToFormat(QImage::Format_RGB32), picture.copy(kSel));
  EXPECT_EQ(Differences(d.Image(), Cleared(picture, kSel)), 0);
  EXPECT_FALSE(d.Frame()->isVisible());
  EXPECT_TRUE(d.Enabled("Menu_Edit_Undo"));
  EXPECT_FALSE(d.Enabled("Menu_Edit_Cut"));
  EXPECT_FALSE(d.Enabled("Menu_Edit_Copy"));
  EXPECT_TRUE(PasteOffered(d));
}

TEST(ClipboardWindow, PasteFloatsTheClippingAtTheTopLeftOverThePicture) {
  const QImage picture = Pattern();
  WindowDriver d;
  d.OpenPicture(picture);
  const QImage clip = Clipping(100, 50);
  Clip()->setImage(clip);
  ASSERT_TRUE(QTest::qWaitFor([&] { return PasteOffered(d); }, 300));
  d.ClickToolbar("Menu_Edit_Paster");

  EXPECT_EQ(Differences(d.Image(), AndAt(picture, clip, {0, 0})), 0) << "white parts let the picture show";
  EXPECT_TRUE(d.Frame()->isVisible());
  EXPECT_TRUE(d.Selection().Border());
  EXPECT_EQ(d.Frame()->geometry(), QRect(0, 0, 100, 50));
  EXPECT_TRUE(d.Selection().Lifted());
  ExpectOffered(d, {"Menu_Edit_Undo", "Menu_Edit_Copy", "Menu_Edit_Cut", "Menu_Edit_Del"}, true);

  // The pasted selection moves at once and clears nothing beneath it.
  MoveSelection(d, 200, 100);
  EXPECT_EQ(Differences(d.Image(), AndAt(picture, clip, {200, 100})), 0);
  // Delete takes it away again, whether moved or not.
  d.Trigger("Menu_Edit_Del");
  EXPECT_EQ(d.Image(), picture);

  WindowDriver e;
  e.OpenPicture(picture);
  e.Trigger("Menu_Edit_Paster");
  e.Trigger("Menu_Edit_Del");
  EXPECT_EQ(e.Image(), picture) << "delete of an unmoved paste removes the paste, not the picture";

  // A paste is work the save prompt protects.
  WindowDriver fresh;
  fresh.Trigger("Menu_Edit_Paster");
  EXPECT_TRUE(fresh.State().ImageChanged);
}

TEST(ClipboardWindow, UndoRightAfterPasteReturnsToThePictureBefore) {
  const QImage picture = Pattern();
  WindowDriver d;
  d.OpenPicture(picture);
  Clip()->setImage(Clipping(40, 40));
  d.Trigger("Menu_Edit_Paster");
  d.Trigger("Menu_Edit_Undo");
  EXPECT_EQ(d.Image(), picture);
}

TEST(ClipboardWindow, PasteLargerThanTheCanvasEnlargesItInEachDirection) {
  struct Case {
    QSize clip, canvas;
  };
  const Case cases[] = {{{700, 100}, {700, 220}}, {{100, 300}, {600, 300}}, {{800, 400}, {800, 400}}, {{600, 220}, {600, 220}}};
  const QImage picture = Pattern();
  for (const Case& c : cases) {
    WindowDriver d;
    d.OpenPicture(picture);
    const QImage clip = Clipping(c.clip.width(), c.clip.height());
    Clip()->setImage(clip);
    d.Trigger("Menu_Edit_Paster");
    EXPECT_EQ(d.Picture().Size(), c.canvas) << c.clip.width() << "x" << c.clip.height();
    EXPECT_EQ(d.Surface()->size(), c.canvas);
    QImage grown(c.canvas, QImage::Format_RGB32);
    grown.fill(kWhite);
    grown = AndAt(AndAt(grown, picture, {0, 0}), clip, {0, 0});
    EXPECT_EQ(Differences(d.Image(), grown), 0) << c.clip.width() << "x" << c.clip.height();
    // Moved on, it floats over the picture as it was before the paste, white where the canvas grew.
    MoveSelection(d, 5, 5);
    QImage before(c.canvas, QImage::Format_RGB32);
    before.fill(kWhite);
    before = AndAt(before, picture, {0, 0});
    EXPECT_EQ(Differences(d.Image(), AndAt(before, clip, {5, 5})), 0) << c.clip.width() << "x" << c.clip.height();
  }
}

TEST(ClipboardWindow, TransparentPartsOfAPastedPictureLeaveThePicture) {
  const QImage picture = Pattern();
  WindowDriver d;
  d.OpenPicture(picture);
  QImage clip(20, 20, QImage::Format_ARGB32);
  clip.fill(Qt::transparent);
  clip.setPixel(5, 5, kBlack);
  Clip()->setImage(clip);
  d.Trigger("Menu_Edit_Paster");
  EXPECT_EQ(d.Pixel(5, 5), kBlack);
  QImage expected = picture;
  expected.setPixel(5, 5, kBlack);
  EXPECT_EQ(Differences(d.Image(), expected), 0);
}

TEST(ClipboardWindow, PicturesTooLargeToPasteAreRefusedWithAMessage) {
  const QImage picture = Pattern();
  // Too wide for any canvas; too many pixels (10000 x 10000, 400 MB) given only as a PNG header.
  auto wide = [] {
    Clip()->setImage(QImage(16385, 2, QImage::Format_RGB32));
  };
  auto huge = [] {
    auto* data = new QMimeData;
    const QByteArray png = PngHeaderOnly(10000, 10000);
    data->setData(QStringLiteral("application/x-qt-image"), png);
    data->setData(QStringLiteral("image/png"), png);
    Clip()->setMimeData(data);
  };
  int n = 0;
  for (const auto& put : std::initializer_list<std::function<void()>>{wide, huge}) {
    ++n;
    WindowDriver d;
    d.OpenPicture(picture);
    put();
    d.Trigger("Menu_Edit_Paster");
    ASSERT_EQ(d.dialogs.told.size(), 1) << n;
    EXPECT_TRUE(d.dialogs.told[0].contains(QStringLiteral("太大"))) << d.dialogs.told[0].toStdString();
    EXPECT_EQ(d.Image(), picture) << n;
    EXPECT_EQ(d.Picture().Size(), QSize(600, 220));
    EXPECT_FALSE(d.Frame()->isVisible());
    EXPECT_FALSE(d.Enabled("Menu_Edit_Undo"));
    // On a picture nobody changed, the refused paste leaves it unchanged.
    WindowDriver fresh;
    fresh.Trigger("Menu_Edit_Paster");
    EXPECT_EQ(fresh.dialogs.told.size(), 1) << n;
    EXPECT_FALSE(fresh.State().ImageChanged) << n;
  }
}

TEST(ClipboardWindow, APasteTurnsItselfNotTheEarlierSelection) {
  const QImage picture = Pattern();
  SelectedWindow d(picture);
  const QImage clip = Clipping(40, 30);
  Clip()->setImage(clip);
  d.Trigger("Menu_Edit_Paster");
  // The pasted picture floats: it can be flipped and turned at once, like any selection.
  EXPECT_TRUE(d.Enabled("Menu_Rot_Nss"));
  EXPECT_TRUE(d.Enabled("Menu_Rot_Sp"));
  EXPECT_TRUE(d.Enabled("Menu_Rot_S"));
  // A turn and back gives the paste back in place: nothing of the earlier selection comes back,
  // and the picture under the paste is not cleared.
  d.Trigger("Menu_Rot_Njs");
  d.Trigger("Menu_Rot_Nlj");
  EXPECT_EQ(Differences(d.Image(), AndAt(picture, clip, {0, 0})), 0);
}
