// The picture leaves for paper: 导出高清图像…, 复制高清图, 打印… and 打印预览 through the real window,
// checked by what they leave on disk and on the clipboard (sizes, resolution, pixels) and by the
// printed page rendered back from its PDF file.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QMimeData>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "document/PictureFiles.h"
#include "document/PrintPicture.h"
#include "editing/ClipboardPicture.h"
#include "support/EditingDriver.h"

using namespace editing;

namespace {

const QString kReduced = QStringLiteral("图像较大，按原分辨率输出");
constexpr int kHd = 15118;  // dots per metre at 4 x 96 dpi

// A white picture with two black blocks: its ink spans (100, 50) .. (299, 149) and (400, 120) ..
// (409, 129).
QImage Blocks() {
  QImage img = Marks();
  for (int y = 50; y < 150; ++y)
    for (int x = 100; x < 300; ++x) img.setPixel(x, y, kBlack);
  for (int y = 120; y < 130; ++y)
    for (int x = 400; x < 410; ++x) img.setPixel(x, y, kRed);
  return img;
}
const QRect kBlocksInk = QRect(QPoint(96, 46), QPoint(413, 153));  // with its 4-pixel margin

// `image` enlarged by k, every pixel a k x k block: what the companion of opened pixels and
// axis-aligned boxes holds exactly.
QImage Blocky(const QImage& image, int k) {
  return image.scaled(image.size() * k, Qt::IgnoreAspectRatio, Qt::FastTransformation).convertToFormat(QImage::Format_RGB32);
}

// A window showing Blocks() with a black box drawn over it (so that it holds unsaved work).
struct PaperWindow : WindowDriver {
  PaperWindow() {
    OpenPicture(Blocks());
    ClickTool(7);
    Drag({40, 30}, {120, 90});
  }
};

}  // namespace

TEST(Paper, TheInkRectangleIsTheInkWithItsMarginClippedToThePicture) {
  struct Case {
    std::vector<QPoint> ink;
    QRect expected;
  };
  const Case cases[] = {
      {{}, QRect(0, 0, 600, 220)},                                    // no ink: the whole picture
      {{{300, 100}}, QRect(296, 96, 9, 9)},                           // one pixel: 9 x 9
      {{{1, 2}, {598, 219}}, QRect(0, 0, 600, 220)},                  // clipped at every side
      {{{10, 200}, {50, 120}}, QRect(QPoint(6, 116), QPoint(54, 204))},
  };
  for (const Case& c : cases) {
    QImage img = Marks();
    for (QPoint p : c.ink) img.setPixel(p, qRgb(200, 200, 200));
    EXPECT_EQ(InkRect(img), c.expected) << c.ink.size();
  }
}

TEST(Paper, ExportWritesTheCompanionAsPngAtItsTrueSize) {
  for (bool trim : {true, false}) {
    QTemporaryDir dir;
    PaperWindow d;
    ASSERT_EQ(d.Picture().k(), 4);
    const QImage picture = d.Image().convertToFormat(QImage::Format_RGB32);
    const QRect ink = QRect(QPoint(36, 26), QPoint(413, 153));  // the box and the blocks, margin 4
    const QString caption = d.w().windowTitle();
    d.dialogs.exports = {trim};
    d.dialogs.saveNames = {dir.filePath("figure")};  // the suffix is added
    d.Trigger("Menu_File_Export");

    ASSERT_EQ(d.dialogs.exportSizes.size(), 1);
    const ExportSizes shown = d.dialogs.exportSizes[0];
    EXPECT_EQ(shown.whole, QSize(2400, 880));
    EXPECT_EQ(shown.trimmed, ink.size() * 4);
    EXPECT_EQ(shown.dotsPerMetre, kHd);
    EXPECT_FALSE(shown.reduced);
    EXPECT_EQ(d.dialogs.dialogs.value(1), QStringLiteral("高清图像导出为：||PNG 图像 (*.png)"));  // after 打开
    const QImage written = QImage(dir.filePath("figure.png"));
    ASSERT_FALSE(written.isNull()) << trim;
    EXPECT_EQ(written.size(), trim ? ink.size() * 4 : QSize(2400, 880)) << trim;
    EXPECT_EQ(written.dotsPerMeterX(), kHd);
    EXPECT_EQ(written.dotsPerMeterY(), kHd);
    EXPECT_EQ(Differences(written.convertToFormat(QImage::Format_RGB32), Blocky(picture.copy(trim ? ink : picture.rect()), 4)), 0)
        << trim;
    // 15.9 x 5.8 cm for the whole picture, as a word processor places it.
    EXPECT_EQ(ExportWindow::SizeText(shown.whole, shown.dotsPerMetre), QStringLiteral("2400 × 880 像素，打印尺寸 15.9 × 5.8 厘米"));
    // The picture, its unsaved work and its file are as they were.
    EXPECT_EQ(d.Image(), picture);
    EXPECT_TRUE(d.State().ImageChanged);
    EXPECT_EQ(d.w().windowTitle(), caption);
    EXPECT_TRUE(d.dialogs.told.isEmpty()) << d.dialogs.told.join('\n').toStdString();
  }
}

TEST(Paper, AnExportThatDoesNotHappenWritesNothingAndKeepsTheWork) {
  const QString title = QStringLiteral("导出高清图像|");
  struct Case {
    const char* way;
    bool windowAccepted;
    QStringList names;  // typed in the save dialog, in the folder
    int dialogs;        // save dialogs shown
    QString asked, told;
  };
  const Case cases[] = {
      {"export window cancelled", false, {}, 0, {}, {}},
      {"save dialog cancelled", true, {}, 1, {}, {}},
      {"an existing file kept (否)", true, {"old.png"}, 2, title + "文件“old.png”已经存在。是否替换？", {}},
      {"a bitmap name refused", true, {"figure.bmp"}, 2, {}, title + "高清图像只能导出为 PNG 文件（.png），请换一个文件名。"},
      {"the picture's own file refused", true, {"own.png"}, 2, {},
       title + "“own.png”是正在编辑的图像的文件，高清图像不能导出到这里，请换一个文件名。"},
  };
  for (const Case& c : cases) {
    QTemporaryDir dir;
    PaperWindow d;
    QFile old(dir.filePath("old.png"));
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("not touched");
    old.close();
    // The picture saved as a PNG file of its own, then changed again.
    d.dialogs.saveNames = {dir.filePath("own.png")};
    d.Trigger("Menu_File_Save");
    QFile own(dir.filePath("own.png"));
    ASSERT_TRUE(own.open(QIODevice::ReadOnly));
    const QByteArray ownBytes = own.readAll();
    own.close();
    d.Drag({200, 30}, {260, 90});
    ASSERT_TRUE(d.State().ImageChanged);
    d.dialogs.dialogs.clear();
    const QString caption = d.w().windowTitle();
    if (c.windowAccepted) d.dialogs.exports = {true};
    for (const QString& name : c.names) d.dialogs.saveNames.push_back(dir.filePath(name));
    d.dialogs.answers = {QMessageBox::No};
    d.Trigger("Menu_File_Export");

    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), (QStringList{"old.png", "own.png"})) << c.way;
    ASSERT_TRUE(old.open(QIODevice::ReadOnly) && own.open(QIODevice::ReadOnly));
    EXPECT_EQ(old.readAll(), QByteArray("not touched")) << c.way;
    EXPECT_EQ(own.readAll(), ownBytes) << c.way;
    EXPECT_TRUE(d.State().ImageChanged) << c.way;
    EXPECT_EQ(d.w().windowTitle(), caption) << c.way;
    EXPECT_EQ(d.dialogs.dialogs.size(), c.dialogs) << c.way;
    EXPECT_EQ(d.dialogs.asked, c.asked.isEmpty() ? QStringList() : QStringList{c.asked}) << c.way;
    EXPECT_EQ(d.dialogs.told, c.told.isEmpty() ? QStringList() : QStringList{c.told}) << c.way;
  }
}

TEST(Paper, CopyHighResolutionOffersTheCompanionAndPastesBackAtOneTimes) {
  for (bool selected : {true, false}) {
    PaperWindow d;
    const QImage picture = d.Image().convertToFormat(QImage::Format_RGB32);
    const QRect part = selected ? kSel : QRect(QPoint(36, 26), QPoint(413, 153));
    if (selected) Select(d, kSel);
    QGuiApplication::clipboard()->clear();
    d.Trigger(selected ? "PM_CopyHd" : "Menu_Edit_CopyHd");
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    ASSERT_TRUE(data && data->hasFormat("image/png")) << selected;
    const QImage png = QImage::fromData(data->data("image/png"));
    EXPECT_EQ(png.size(), part.size() * 4) << selected;
    EXPECT_EQ(png.dotsPerMeterX(), kHd);
    EXPECT_EQ(Differences(png.convertToFormat(QImage::Format_RGB32), Blocky(picture.copy(part), 4)), 0) << selected;
    ASSERT_TRUE(data->hasFormat(clipboard::kOwnPictureType));
    // 复制 itself is unchanged, the picture too; 粘贴 takes the picture at 1x.
    EXPECT_EQ(d.Image(), picture);
    d.Trigger("Menu_Edit_Paster");
    EXPECT_EQ(d.Selection().Pixels().convertToFormat(QImage::Format_RGB32), picture.copy(part)) << selected;
    EXPECT_TRUE(d.dialogs.told.isEmpty());
  }
}

TEST(Paper, APrintedPageHasThePictureAtItsTrueSizeCentred) {
  const QString pdftoppm = QStandardPaths::findExecutable("pdftoppm");
  ASSERT_FALSE(pdftoppm.isEmpty()) << "needs pdftoppm (poppler-utils: scripts/install-deps.sh test)";
  for (const char* command : {"Menu_File_Print", "Menu_File_PrintPreview"}) {
    QTemporaryDir dir;
    WindowDriver d;
    d.OpenPicture(Blocks());
    d.dialogs.printPdf = dir.filePath("page.pdf");
    d.Trigger(command);
    ASSERT_EQ(d.dialogs.printed, 1) << command;
    EXPECT_EQ(d.dialogs.previews, QByteArray(command).endsWith("Preview") ? 1 : 0);
    // The picture came from a bitmap file: its dialog says it prints enlarged.
    EXPECT_EQ(d.dialogs.printNotes, QStringList{QStringLiteral("图像中有来自其他程序或位图文件的部分，这些部分按放大的图像输出。")});
    QProcess render;
    render.start(pdftoppm, {"-r", "96", "-png", "-singlefile", d.dialogs.printPdf, dir.filePath("page")});
    ASSERT_TRUE(render.waitForFinished(60000) && render.exitCode() == 0) << render.readAllStandardError().toStdString();
    const QImage page = QImage(dir.filePath("page.png")).convertToFormat(QImage::Format_RGB32);
    ASSERT_FALSE(page.isNull());
    // The black block: 200 x 100 pixels at 96 dpi, its centre 100 left and 10 above the page's.
    QRect black;
    for (int y = 0; y < page.height(); ++y)
      for (int x = 0; x < page.width(); ++x)
        if (qGray(page.pixel(x, y)) < 60) black |= QRect(x, y, 1, 1);
    EXPECT_NEAR(black.width(), 200, 1) << command;
    EXPECT_NEAR(black.height(), 100, 1) << command;
    const QPointF centre = QRectF(black).center() - QRectF(page.rect()).center();
    EXPECT_NEAR(centre.x(), -100, 1.5) << command;
    EXPECT_NEAR(centre.y(), -10, 1.5) << command;
    EXPECT_FALSE(d.State().ImageChanged);
  }
}

TEST(Paper, WithoutACompanionTheThreeUseThePictureAndSaySo) {
  QTemporaryDir dir;
  WindowDriver d;
  d.ResizePicture(8200, 60);  // 2 x 8200 passes the largest side a companion may have
  ASSERT_EQ(d.Picture().k(), 1);
  d.ClickTool(7);
  d.Drag({10, 10}, {50, 40});
  const QRect ink = QRect(QPoint(6, 6), QPoint(54, 44));
  d.dialogs.exports = {true};
  d.dialogs.saveNames = {dir.filePath("wide.png")};
  d.Trigger("Menu_File_Export");
  ASSERT_EQ(d.dialogs.exportSizes.size(), 1);
  EXPECT_TRUE(d.dialogs.exportSizes[0].reduced);
  EXPECT_EQ(d.dialogs.exportSizes[0].dotsPerMetre, kScreenDotsPerMetre);
  const QImage written = QImage(dir.filePath("wide.png"));
  EXPECT_EQ(written.size(), ink.size());
  EXPECT_EQ(written.dotsPerMeterX(), kScreenDotsPerMetre);

  d.Trigger("Menu_Edit_CopyHd");
  const QImage png = QImage::fromData(QGuiApplication::clipboard()->mimeData()->data("image/png"));
  EXPECT_EQ(png.size(), ink.size());
  EXPECT_EQ(png.dotsPerMeterX(), kScreenDotsPerMetre);
  EXPECT_EQ(d.dialogs.told, QStringList{QStringLiteral("复制高清图|") + kReduced});

  d.Trigger("Menu_File_Print");  // cancelled (no PDF named), but the dialog said it
  EXPECT_EQ(d.dialogs.printNotes, QStringList{kReduced});
}

TEST(Paper, TheExportWindowShowsTheSizeOfItsChoice) {
  struct Case {
    bool reduced;
    bool trim;
    const char* text;
    bool enlargedParts;
  };
  const Case cases[] = {
      {false, true, "1512 × 512 像素，打印尺寸 10.0 × 3.4 厘米", false},
      {false, false, "2400 × 880 像素，打印尺寸 15.9 × 5.8 厘米", true},
      {true, true, "378 × 128 像素，打印尺寸 10.0 × 3.4 厘米", false},
  };
  for (const Case& c : cases) {
    ExportSizes sizes;
    sizes.reduced = c.reduced;
    sizes.enlargedParts = c.enlargedParts;
    const int k = c.reduced ? 1 : 4;
    sizes.whole = QSize(600, 220) * k;
    sizes.trimmed = QSize(378, 128) * k;
    sizes.dotsPerMetre = DotsPerMetreAt(k);
    ExportWindow window(sizes, nullptr);
    auto* trim = window.findChild<QCheckBox*>("TrimEdges");
    ASSERT_TRUE(trim && trim->isChecked() && trim->text() == QStringLiteral("裁去空白边"));
    trim->setChecked(c.trim);
    EXPECT_EQ(window.findChild<QLabel*>("ExportSize")->text(), QString::fromUtf8(c.text));
    EXPECT_EQ(window.Trim(), c.trim);
    auto* note = window.findChild<QLabel*>("ReducedNote");
    EXPECT_EQ(note != nullptr, c.reduced);
    EXPECT_EQ(note ? note->text() : QString(), c.reduced ? kReduced : QString());
    auto* enlarged = window.findChild<QLabel*>("EnlargedNote");
    EXPECT_EQ(enlarged ? enlarged->text() : QString(),
              c.enlargedParts ? QStringLiteral("图像中有来自其他程序或位图文件的部分，这些部分按放大的图像输出。") : QString());
    EXPECT_EQ(window.windowTitle(), QStringLiteral("导出高清图像"));
  }
}
