#include "dialogs/DialogSeam.h"

#include <QAbstractButton>
#include <QColorDialog>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMimeDatabase>
#include <QPushButton>
#include <QStyle>
#include <QTreeView>
#include <algorithm>

#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>

#include "dialogs/ExportWindow.h"
#include "dialogs/FontWindow.h"

namespace {

// Dismissing a question (Esc, its close button) answers nothing: a box without a Cancel button
// would take No for it and throw work away. This closes the box without any button instead.
class DismissWithoutAnswer : public QObject {
 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    const bool escape = event->type() == QEvent::KeyPress &&
                        static_cast<QKeyEvent*>(event)->matches(QKeySequence::Cancel);
    if (!escape && event->type() != QEvent::Close) return false;
    static_cast<QDialog*>(watched)->reject();
    return true;
  }
};

}  // namespace

QMessageBox::StandardButton DialogSeam::Ask(QWidget* parent, const QString& title, const QString& text,
                                            QMessageBox::StandardButtons buttons) {
  QMessageBox box(QMessageBox::Information, title, text, buttons, parent);
  // The buttons read "是" and "否" (InstallChineseInterface); the keys Y and N answer as before.
  if (QAbstractButton* yes = box.button(QMessageBox::Yes)) yes->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Y));
  if (QAbstractButton* no = box.button(QMessageBox::No)) no->setShortcut(QKeySequence(Qt::ALT | Qt::Key_N));
  DismissWithoutAnswer dismiss;
  box.installEventFilter(&dismiss);
  box.exec();
  QAbstractButton* answer = box.clickedButton();
  return answer ? box.standardButton(answer) : QMessageBox::Cancel;
}

int DialogSeam::Choose(QWidget* parent, const QString& title, const QString& text, const QStringList& buttons) {
  QMessageBox box(QMessageBox::Information, title, text, QMessageBox::NoButton, parent);
  QList<QAbstractButton*> added;
  for (const QString& caption : buttons) {
    QPushButton* button = box.addButton(caption, QMessageBox::ActionRole);
    if (added.isEmpty()) box.setDefaultButton(button);
    added << button;
  }
  DismissWithoutAnswer dismiss;
  box.installEventFilter(&dismiss);
  box.exec();
  return int(added.indexOf(box.clickedButton()));
}

void DialogSeam::Tell(QWidget* parent, const QString& title, const QString& text, bool warning) {
  QMessageBox box(warning ? QMessageBox::Warning : QMessageBox::Information, title, text, QMessageBox::Ok,
                  parent);
  box.exec();
}

namespace {

// The file list's size, type and date columns as wide as their texts (Qt gives them room for a few
// characters only, "386…KiB"), the name column the rest of the list. Done when the dialog shows,
// after Qt has made its widgets and put back the widths of the last dialog; wider columns stay.
class FileListColumns : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Show) Fit(static_cast<QWidget*>(watched));
    return false;
  }

 private:
  // The widest texts each column shows, formatted as the list formats them.
  static QStringList Samples(int column) {
    const QLocale locale = QLocale::system();
    QStringList texts;
    switch (column) {
      case 1:
        texts << locale.formattedDataSize(1023);
        for (qint64 unit = 1024; unit <= qint64(1) << 40; unit *= 1024)
          texts << locale.formattedDataSize(1023 * unit + unit * 99 / 100);
        break;
      case 2: {
        const QMimeDatabase types;
        for (const char* name : {"image/bmp", "image/png", "image/jpeg", "application/octet-stream", "inode/directory"})
          texts << types.mimeTypeForName(QLatin1String(name)).comment();
        texts << QCoreApplication::translate("QAbstractFileIconProvider", "Folder");
        break;
      }
      case 3:
        for (int month = 1; month <= 12; ++month)
          texts << locale.toString(QDateTime(QDate(2088, month, 28), QTime(23, 58, 58)), QLocale::ShortFormat);
        break;
    }
    return texts;
  }

  static void Fit(QWidget* dialog) {
    auto* list = dialog->findChild<QTreeView*>(QStringLiteral("treeView"));
    if (!list || list->header()->count() < 4) return;
    QHeaderView* header = list->header();
    const QFontMetrics metrics(list->font());
    // The item's text margins on both sides, and a little room besides.
    const int padding = 2 * (list->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, list) + 1) +
                        metrics.horizontalAdvance(QStringLiteral("00"));
    int others = 0;
    for (int column = 1; column <= 3; ++column) {
      int wanted = header->sectionSizeHint(column);
      for (const QString& text : Samples(column)) wanted = std::max(wanted, metrics.horizontalAdvance(text) + padding);
      header->resizeSection(column, std::max(header->sectionSize(column), wanted));
      others += header->sectionSize(column);
    }
    header->resizeSection(0, std::max(header->sectionSize(0), list->viewport()->width() - others));
  }
};

// Qt's own file dialog, not the desktop's: a desktop dialog speaks the desktop's language, which
// need not be Chinese, and ignores the program's translations. Large enough that the name, size,
// kind and date columns are readable.
QString RunFileDialog(QWidget* parent, const QString& title, const QString& initialName, const QString& filter,
                      QFileDialog::AcceptMode mode, QString* chosenFilter) {
  QFileDialog dialog(parent, title, QString(), filter);
  dialog.setOptions(QFileDialog::DontUseNativeDialog | QFileDialog::DontConfirmOverwrite);
  dialog.setAcceptMode(mode);
  dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
  if (!initialName.isEmpty()) dialog.selectFile(initialName);
  dialog.resize(880, 540);
  FileListColumns columns;
  dialog.installEventFilter(&columns);
  if (dialog.exec() != QDialog::Accepted) return {};
  if (chosenFilter) *chosenFilter = dialog.selectedNameFilter();
  return dialog.selectedFiles().value(0);
}

}  // namespace

QString DialogSeam::OpenFileName(QWidget* parent, const QString& title, const QString& initialName,
                                 const QString& filter) {
  return RunFileDialog(parent, title, initialName, filter, QFileDialog::AcceptOpen, nullptr);
}

QString DialogSeam::SaveFileName(QWidget* parent, const QString& title, const QString& initialName,
                                 const QString& filter, QString* chosenFilter) {
  return RunFileDialog(parent, title, initialName, filter, QFileDialog::AcceptSave, chosenFilter);
}

std::optional<QColor> DialogSeam::PickColor(QWidget* parent, const QColor& initial) {
  // Qt's own dialog, in Chinese whatever the desktop's language (see OpenFileName).
  QColor c = QColorDialog::getColor(initial, parent, QString(), QColorDialog::DontUseNativeDialog);
  if (!c.isValid()) return std::nullopt;
  return c;
}

std::optional<std::pair<QFont, QRgb>> DialogSeam::PickFont(QWidget* parent, const QFont& font,
                                                           QRgb color) {
  QFont chosen = font;
  QRgb chosenColor = color;
  if (!FontWindow::Choose(parent, chosen, chosenColor)) return std::nullopt;
  return std::make_pair(chosen, chosenColor);
}

bool DialogSeam::OpenUrl(const QUrl& url) { return QDesktopServices::openUrl(url); }

std::optional<bool> DialogSeam::ExportOptions(QWidget* parent, const ExportSizes& sizes) {
  ExportWindow window(sizes, parent);
  if (window.exec() != QDialog::Accepted) return std::nullopt;
  return window.Trim();
}

bool DialogSeam::Print(QWidget* parent, bool preview, const std::function<void(QPrinter&)>& paint,
                       const QString& note) {
  QPrinter printer(QPrinter::HighResolution);
  printer.setDocName(QStringLiteral("Quillmere"));
  const QString title = preview ? QStringLiteral("打印预览") : QStringLiteral("打印");
  const QString caption = note.isEmpty() ? title : title + QStringLiteral(" — ") + note;
  if (preview) {
    QPrintPreviewDialog dialog(&printer, parent);
    dialog.setWindowTitle(caption);
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog, [&paint](QPrinter* p) { paint(*p); });
    // Accepted: printed from the preview (its print button runs the print dialog first).
    return dialog.exec() == QDialog::Accepted;
  }
  QPrintDialog dialog(&printer, parent);
  dialog.setWindowTitle(caption);
  // One page: there is no range of pages to choose.
  dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
  dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
  dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
  if (dialog.exec() != QDialog::Accepted) return false;
  paint(printer);
  return true;
}

namespace {
DialogSeam g_realSeam;
DialogSeam* g_seam = nullptr;
}  // namespace

DialogSeam& Dialogs() { return g_seam ? *g_seam : g_realSeam; }
void SetDialogSeam(DialogSeam* seam) { g_seam = seam; }
