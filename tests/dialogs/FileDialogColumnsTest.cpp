// The real open and save dialogs behind the seam, read while they show a folder of pictures: at
// their starting size every name, size, type and date in the file list is shown whole, and the
// columns fill the list.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QHeaderView>
#include <QSettings>
#include <QStyle>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeView>

#include "dialogs/DialogSeam.h"

namespace {

void WriteFile(const QString& path, qint64 bytes) {
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(QByteArray(bytes, 'B'));
}

}  // namespace

TEST(FileDialogColumns, EveryColumnShowsItsTextsWholeAtTheStartingSize) {
  SetDialogSeam(nullptr);
  // Qt's dialogs put back the column widths they closed with: start from Qt's own.
  QSettings(QSettings::UserScope, QStringLiteral("QtProject")).remove(QStringLiteral("FileDialog/treeViewHeader"));
  QTemporaryDir dir;
  WriteFile(dir.filePath("斜面上的物块、弹簧与滑轮示意图.bmp"), 395264);  // 386 KiB
  WriteFile(dir.filePath("电路.png"), 1234567);
  WriteFile(dir.filePath("photo.jpg"), 999);
  ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("第二章")));
  for (const bool saving : {false, true}) {
    SCOPED_TRACE(saving ? "save" : "open");
    const int listed = saving ? 2 : 4;  // the save dialog lists bitmaps and the folder
    QStringList cut;  // "text (needs, has)" of every text the list cannot show whole
    int rows = 0, spanned = 0, listWidth = 0;
    QObject watching;  // no reading outlives this dialog
    std::function<void()> read = [&] {
      auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
      if (!dialog || !dialog->isVisible()) return QTimer::singleShot(20, &watching, read);
      auto* list = dialog->findChild<QTreeView*>(QStringLiteral("treeView"));
      if (list) {
        // The folder is read in the background.
        for (int wait = 0; wait < 100 && list->model()->rowCount(list->rootIndex()) < listed; ++wait) QTest::qWait(20);
        const QAbstractItemModel* model = list->model();
        const QHeaderView* header = list->header();
        const int margin = 2 * (list->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, list) + 1);
        rows = model->rowCount(list->rootIndex());
        for (int row = 0; row < rows; ++row) {
          for (int column = 0; column < 4; ++column) {
            const QString text = model->index(row, column, list->rootIndex()).data().toString();
            int needs = list->fontMetrics().horizontalAdvance(text) + margin;
            if (column == 0) needs += list->iconSize().width() > 0 ? list->iconSize().width() : 16;
            if (header->sectionSize(column) < needs)
              cut << QStringLiteral("%1 (%2, %3)").arg(text).arg(needs).arg(header->sectionSize(column));
          }
        }
        for (int column = 0; column < header->count(); ++column)
          if (!header->isSectionHidden(column)) spanned += header->sectionSize(column);
        listWidth = list->viewport()->width();
      }
      dialog->reject();
    };
    QTimer::singleShot(0, &watching, read);
    const QString start = dir.filePath(QStringLiteral("新图.bmp"));
    if (saving) {
      Dialogs().SaveFileName(nullptr, QStringLiteral("保存"), start, QStringLiteral("位图文件 (*.bmp);;PNG 图像 (*.png)"), nullptr);
    } else {
      Dialogs().OpenFileName(nullptr, QStringLiteral("打开"), start,
                             QStringLiteral("图像文件 (*.bmp *.png *.jpg);;位图文件 (*.bmp)"));
    }
    ASSERT_GE(rows, listed) << "the folder's pictures are listed";
    EXPECT_TRUE(cut.isEmpty()) << cut.join(QStringLiteral(" | ")).toStdString();
    EXPECT_GE(spanned, listWidth) << "the columns fill the list";
  }
}
