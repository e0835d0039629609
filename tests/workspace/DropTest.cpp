// Files and pictures dropped on the window through Qt's drag-and-drop events.
#include <gtest/gtest.h>

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

#include "support/WindowDriver.h"

namespace {

// Drags `data` over the window and drops it on the picture at `at` (picture pixels). Returns
// whether the window took the drag.
bool Drop(WindowDriver& d, QMimeData* data, QPoint at) {
  const QPoint pos = d.Surface()->mapTo(&d.w(), at);
  QDragEnterEvent enter(pos, Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&d.w(), &enter);
  if (!enter.isAccepted()) return false;
  QDropEvent drop(QPointF(pos), Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&d.w(), &drop);
  return true;
}

QMimeData* Urls(const QList<QUrl>& urls) {
  auto* data = new QMimeData;
  data->setUrls(urls);
  return data;
}

}  // namespace

TEST(Drop, AFileOpensAsOpenWouldAfterTheSameQuestion) {
  QTemporaryDir dir;
  QImage picture(300, 120, QImage::Format_RGB32);
  picture.fill(qRgb(0, 128, 255));
  const QString path = dir.filePath("dropped.bmp");
  ASSERT_TRUE(picture.save(path, "BMP"));
  WindowDriver d;
  d.ClickTool(7);
  d.Drag({40, 30}, {120, 90});
  const QImage drawn = d.Image();
  // Dismissing the question keeps the drawing; 否 lets the file in.
  d.dialogs.answers = {QMessageBox::Cancel};
  std::unique_ptr<QMimeData> data(Urls({QUrl::fromLocalFile(path)}));
  ASSERT_TRUE(Drop(d, data.get(), {10, 10}));
  EXPECT_EQ(d.Image(), drawn);
  d.dialogs.answers = {QMessageBox::No};
  ASSERT_TRUE(Drop(d, data.get(), {10, 10}));
  EXPECT_EQ(d.dialogs.asked.size(), 2);
  EXPECT_EQ(d.Image(), picture);
  EXPECT_FALSE(d.State().ImageChanged);
  EXPECT_TRUE(d.w().windowTitle().endsWith(QStringLiteral("dropped.bmp")));
}

TEST(Drop, PictureDataFloatsAtTheDropPoint) {
  WindowDriver d;
  QImage picture(40, 30, QImage::Format_RGB32);
  picture.fill(qRgb(200, 0, 0));
  auto data = std::make_unique<QMimeData>();
  data->setImageData(picture);
  ASSERT_TRUE(Drop(d, data.get(), {100, 50}));
  ASSERT_TRUE(d.Selection().Visible());
  EXPECT_EQ(d.Selection().FrameRect(), QRect(100, 50, 40, 30));
  EXPECT_EQ(d.Pixel(100, 50), qRgb(200, 0, 0));
  EXPECT_EQ(d.Pixel(99, 50), kWhite);
  EXPECT_TRUE(d.State().ImageChanged);
  EXPECT_TRUE(d.Enabled("Menu_Edit_Undo"));
  // Near the far corner the picture moves in so that all of it lies on the canvas.
  ASSERT_TRUE(Drop(d, data.get(), {590, 215}));
  EXPECT_EQ(d.Selection().FrameRect(), QRect(560, 190, 40, 30));
}

TEST(Drop, WebAddressesFoldersAndDevicesAreRefusedWithAMessage) {
  QTemporaryDir dir;
  const std::pair<QList<QUrl>, QString> cases[] = {
      {{QUrl("https://example.org/figure.png")}, QStringLiteral("打开|只能拖入本机的图像文件或图像数据。")},
      {{QUrl::fromLocalFile(dir.path())}, QString()},
      {{QUrl::fromLocalFile("/dev/zero")}, QString()},
  };
  for (const auto& [urls, message] : cases) {
    WindowDriver d;
    const QImage before = d.Image();
    const QString caption = d.w().windowTitle();
    std::unique_ptr<QMimeData> data(Urls(urls));
    ASSERT_TRUE(Drop(d, data.get(), {10, 10}));
    EXPECT_EQ(d.Image(), before);
    EXPECT_EQ(d.w().windowTitle(), caption);
    ASSERT_EQ(d.dialogs.told.size(), 1) << urls.first().toString().toStdString();
    if (!message.isEmpty()) {
      EXPECT_EQ(d.dialogs.told.first(), message);
    }
  }
}
