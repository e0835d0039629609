#include "dialogs/DialogSeam.h"

#include <QAbstractButton>
#include <QColorDialog>
#include <QDesktopServices>
#include <QFileDialog>
#include <QKeyEvent>
#include <QPushButton>

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

void DialogSeam::Tell(QWidget* parent, const QString& title, const QString& text, bool warning) {
  QMessageBox box(warning ? QMessageBox::Warning : QMessageBox::Information, title, text, QMessageBox::Ok,
                  parent);
  box.exec();
}

QString DialogSeam::OpenFileName(QWidget* parent, const QString& title, const QString& initialName,
                                 const QString& filter) {
  // Qt's own dialog, not the desktop's: a desktop dialog speaks the desktop's language, which
  // need not be Chinese, and ignores the program's translations.
  return QFileDialog::getOpenFileName(parent, title, initialName, filter, nullptr,
                                      QFileDialog::DontUseNativeDialog);
}

QString DialogSeam::SaveFileName(QWidget* parent, const QString& title, const QString& initialName,
                                 const QString& filter) {
  // No default suffix and no overwrite question of our own: the name is used as typed, and the
  // dialog itself asks before an existing file is replaced. Qt's own dialog, as for opening.
  return QFileDialog::getSaveFileName(parent, title, initialName, filter, nullptr,
                                      QFileDialog::DontUseNativeDialog);
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

namespace {
DialogSeam g_realSeam;
DialogSeam* g_seam = nullptr;
}  // namespace

DialogSeam& Dialogs() { return g_seam ? *g_seam : g_realSeam; }
void SetDialogSeam(DialogSeam* seam) { g_seam = seam; }
