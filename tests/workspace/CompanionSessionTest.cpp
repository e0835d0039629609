// The high-resolution companion through a teacher's session in the real window: after every edit
// (a figure, a fill, the eraser, a selection moved, turned 30 degrees and flipped, a paste, a label
// with scripts, a resize, undo and redo) the companion agrees with the picture within a pixel.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <functional>

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

}  // namespace
