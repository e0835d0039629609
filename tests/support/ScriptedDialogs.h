#pragma once
#include <QStringList>
#include <algorithm>
#include <deque>
#include <vector>

#include <QPrinter>

#include "dialogs/DialogSeam.h"
#include "dialogs/ExportWindow.h"

// A dialog seam for tests: answers come from queues the test fills, and every question, message and
// address is recorded. An empty queue answers like a cancel. The newest seam alive is the one the
// program asks; when it goes, the one made before it takes over again.
class ScriptedDialogs : public DialogSeam {
 public:
  ScriptedDialogs() {
    Alive().push_back(this);
    SetDialogSeam(this);
  }
  ~ScriptedDialogs() override {
    Alive().erase(std::find(Alive().begin(), Alive().end(), this));
    SetDialogSeam(Alive().empty() ? nullptr : Alive().back());
  }
  ScriptedDialogs(const ScriptedDialogs&) = delete;
  ScriptedDialogs& operator=(const ScriptedDialogs&) = delete;
  // Makes this seam the one the program asks (while several are alive).
  void Install() { SetDialogSeam(this); }

  std::deque<QMessageBox::StandardButton> answers;
  std::deque<QString> openNames;
  std::deque<QString> saveNames;
  std::deque<QString> saveFilters;  // the filter chosen in each save dialog (the first one when empty)
  std::deque<std::optional<QColor>> colors;
  std::deque<std::optional<std::pair<QFont, QRgb>>> fonts;

  QStringList asked;     // "title|text" of every question
  QStringList told;      // "title|text" of every message
  QStringList dialogs;   // "title|initial name|filter" of every file dialog
  QList<QUrl> urls;

  QMessageBox::StandardButton Ask(QWidget*, const QString& title, const QString& text,
                                  QMessageBox::StandardButtons buttons) override {
    asked << title + "|" + text;
    if (answers.empty()) return buttons.testFlag(QMessageBox::Cancel) ? QMessageBox::Cancel : QMessageBox::No;
    auto a = answers.front();
    answers.pop_front();
    return a;
  }
  // Questions with named buttons: the index answered (-1: dismissed; an empty queue dismisses),
  // and "title|text|button/button/..." of each.
  std::deque<int> choices;
  QStringList chosen;
  int Choose(QWidget*, const QString& title, const QString& text, const QStringList& buttons) override {
    chosen << title + "|" + text + "|" + buttons.join(QStringLiteral("/"));
    if (choices.empty()) return -1;
    const int a = choices.front();
    choices.pop_front();
    return a;
  }
  void Tell(QWidget*, const QString& title, const QString& text, bool) override { told << title + "|" + text; }
  QString OpenFileName(QWidget*, const QString& title, const QString& initial, const QString& filter) override {
    dialogs << title + "|" + initial + "|" + filter;
    return Take(openNames);
  }
  QString SaveFileName(QWidget*, const QString& title, const QString& initial, const QString& filter,
                       QString* chosenFilter) override {
    dialogs << title + "|" + initial + "|" + filter;
    const QString chosen = Take(saveFilters);
    if (chosenFilter) *chosenFilter = chosen.isEmpty() ? filter.section(QStringLiteral(";;"), 0, 0) : chosen;
    return Take(saveNames);
  }
  std::optional<QColor> PickColor(QWidget*, const QColor&) override {
    if (colors.empty()) return std::nullopt;
    auto c = colors.front();
    colors.pop_front();
    return c;
  }
  std::optional<std::pair<QFont, QRgb>> PickFont(QWidget*, const QFont&, QRgb) override {
    if (fonts.empty()) return std::nullopt;
    auto f = fonts.front();
    fonts.pop_front();
    return f;
  }
  // The export window's answers (trim or not; nothing: cancelled) and what it was shown.
  std::deque<std::optional<bool>> exports;
  QList<ExportSizes> exportSizes;
  // Printing goes into this PDF file (empty: the print dialog is cancelled); `previews` counts the
  // print previews shown, `printNotes` holds the note of each print dialog.
  QString printPdf;
  int printed = 0, previews = 0;
  QStringList printNotes;
  std::optional<bool> ExportOptions(QWidget*, const ExportSizes& sizes) override {
    exportSizes << sizes;
    if (exports.empty()) return std::nullopt;
    auto a = exports.front();
    exports.pop_front();
    return a;
  }
  bool Print(QWidget*, bool preview, const std::function<void(QPrinter&)>& paint, const QString& note) override {
    if (preview) ++previews;
    printNotes << note;
    if (printPdf.isEmpty()) return false;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(printPdf);
    paint(printer);
    ++printed;
    return true;
  }
  bool OpenUrl(const QUrl& url) override {
    urls << url;
    return true;
  }

 private:
  static std::vector<ScriptedDialogs*>& Alive() {
    static std::vector<ScriptedDialogs*> alive;
    return alive;
  }
  static QString Take(std::deque<QString>& q) {
    if (q.empty()) return {};
    QString s = q.front();
    q.pop_front();
    return s;
  }
};
