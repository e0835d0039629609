// quillmere_soak: drives the real main window offscreen with a seeded random sequence of what a
// user does, and checks after every step that nothing was lost and nothing disagrees.
//
//   quillmere_soak [--steps N] [--seed S] [--verbose]
//
// Steps: tool choices on all four palettes, drags and clicks inside, across and outside the
// picture, arrow keys, Delete, Ctrl, Ctrl+C on the canvas, every menu and toolbar command, the
// selection frame dragged, the parameter window and the text window edited with random text,
// colour picks, the resize handles dragged, the focus taken away and given back, pictures opened
// and saved in a temporary folder, every question answered at random (dismissals included), the
// zoom changed by its commands and by Ctrl + wheel (every other step works at any zoom).
// After every step: the commands that act on the selection are enabled exactly while its frame is
// visible, undo and redo alternate, the canvas stays within its limits, a drag followed by Undo
// gives back the picture before it, a saved picture reopens identical, an exported picture has
// the companion's size and resolution, exporting, printing and 复制高清图 leave the picture, its
// caption and its changed flag alone, and a picture that has changed is never reported as unchanged; the surface, the frame and the level read-out follow the
// zoom. On a violation it prints the seed, the step and the
// steps so far, and exits 1; otherwise its last line is "soak: N steps, 0 violations".
#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDateTime>
#include <QFileInfo>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QUrl>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPrinter>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <QWheelEvent>

#include <cstdio>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "dialogs/DialogSeam.h"
#include "dialogs/ExportWindow.h"
#include "dialogs/ProgramStyle.h"
#include "support/Faithfulness.h"
#include "document/PictureFiles.h"
#include "document/PictureFormats.h"
#include "document/PrintPicture.h"
#include "workspace/DrawingArea.h"
#include "workspace/ImageDraw.h"

namespace {

// Every question and dialog answered at random, from the soak's own generator.
class RandomDialogs : public DialogSeam {
 public:
  RandomDialogs(std::mt19937& random, const QTemporaryDir& folder) : random_(random), folder_(folder) {
    SetDialogSeam(this);
  }
  ~RandomDialogs() override { SetDialogSeam(nullptr); }

  QString lastAnswer;    // what the last question or dialog got, for the step's description
  QString savedPath;     // the last file named in a save dialog's answer
  QString openedPath;    // the last file named in an open dialog's answer
  QString exportedPath;  // the last file named in the export dialog's answer
  QImage savedPicture;   // the picture at that moment: what the file must hold
  QImage savedCompanion;  // and its companion: what a PNG file must give back
  std::function<QImage()> picture;  // the window's picture
  std::function<QImage()> companion;  // its companion
  QStringList messages;  // the messages told

  QMessageBox::StandardButton Ask(QWidget*, const QString&, const QString&,
                                  QMessageBox::StandardButtons buttons) override {
    // Dismissing the question (Esc, the close box) comes back as Cancel.
    const QMessageBox::StandardButton choices[] = {QMessageBox::Yes, QMessageBox::No, QMessageBox::Cancel};
    QMessageBox::StandardButton a = choices[Pick(3)];
    if (a != QMessageBox::Cancel && !buttons.testFlag(a)) a = QMessageBox::Cancel;
    lastAnswer = a == QMessageBox::Yes ? "是" : a == QMessageBox::No ? "否" : "Esc";
    return a;
  }
  int Choose(QWidget*, const QString&, const QString&, const QStringList& buttons) override {
    // Dismissing the question comes back as -1.
    const int a = int(Pick(unsigned(buttons.size()) + 1)) - 1;
    lastAnswer = a < 0 ? QStringLiteral("Esc") : buttons[a];
    // 改存 PNG writes the PNG of the name; 取消 and a dismissal write nothing.
    if (a >= 0 && buttons[a] == QStringLiteral("改存 PNG") && savedPath.endsWith(QStringLiteral(".bmp"), Qt::CaseInsensitive))
      savedPath = savedPath.chopped(3) + QStringLiteral("png");
    else if (a < 0 || buttons[a] == QStringLiteral("取消"))
      savedPath.clear();
    return a;
  }
  void Tell(QWidget*, const QString& title, const QString& text, bool) override { messages << title + ": " + text; }
  QString OpenFileName(QWidget*, const QString&, const QString&, const QString&) override {
    const QStringList files = QDir(folder_.path()).entryList({"*.bmp", "*.jpg", "*.png", "*.bin"}, QDir::Files, QDir::Name);
    if (files.isEmpty() || Pick(5) == 0) return Answer(QString());
    openedPath = folder_.filePath(files[static_cast<int>(Pick(static_cast<unsigned>(files.size())))]);
    return Answer(openedPath);
  }
  QString SaveFileName(QWidget*, const QString& title, const QString&, const QString& filter, QString* chosen) override {
    // A cancel ends the save: a name given to an earlier dialog of it (answered 否) was not written.
    if (Pick(5) == 0) {
      (title.contains(QStringLiteral("导出")) ? exportedPath : savedPath).clear();
      return Answer(QString());
    }
    if (title.contains(QStringLiteral("导出"))) {
      // The export's own names, now and then one of the saved pictures' (which is refused while
      // it is the picture's file) or a bitmap name (refused).
      if (chosen) *chosen = filter;
      const char* const names[] = {"exported-0.png", "exported-1", "saved-0.png", "exported.bmp"};
      exportedPath = folder_.filePath(QString::fromLatin1(names[Pick(4)]));
      return Answer(exportedPath);
    }
    // A name with either suffix or none, with either filter.
    const QStringList filters = filter.split(QStringLiteral(";;"));
    if (chosen) *chosen = filters[static_cast<int>(Pick(static_cast<unsigned>(filters.size())))];
    const char* const suffixes[] = {".bmp", ".png", ""};
    const QString typed = folder_.filePath(QStringLiteral("saved-%1%2").arg(Pick(4)).arg(suffixes[Pick(3)]));
    savedPath = ResolveSaveName(typed, chosen ? *chosen : QString()).path;
    savedPicture = picture ? picture() : QImage();
    savedCompanion = companion ? companion() : QImage();
    return Answer(typed);
  }
  std::optional<QColor> PickColor(QWidget*, const QColor&) override {
    if (Pick(3) == 0) return std::nullopt;
    return QColor(static_cast<int>(Pick(256)), static_cast<int>(Pick(256)), static_cast<int>(Pick(256)));
  }
  std::optional<std::pair<QFont, QRgb>> PickFont(QWidget*, const QFont& font, QRgb color) override {
    if (Pick(2) == 0) return std::nullopt;
    QFont f = font;
    f.setPointSizeF(6 + Pick(40));
    return std::make_pair(f, color);
  }
  bool OpenUrl(const QUrl&) override { return true; }
  std::optional<bool> ExportOptions(QWidget*, const ExportSizes&) override {
    if (Pick(4) == 0) return std::nullopt;
    return Pick(2) == 0;
  }
  // Half of the prints go into a PDF file, through the real paint routine.
  bool Print(QWidget*, bool, const std::function<void(QPrinter&)>& paint, const QString&) override {
    if (Pick(2) == 0) {
      Answer(QString());
      return false;
    }
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(folder_.filePath(QStringLiteral("printed.pdf")));
    paint(printer);
    lastAnswer = QStringLiteral("printed.pdf");
    return true;
  }

 private:
  unsigned Pick(unsigned n) { return std::uniform_int_distribution<unsigned>(0, n - 1)(random_); }
  QString Answer(const QString& name) {
    lastAnswer = name.isEmpty() ? QStringLiteral("取消") : QFileInfo(name).fileName();
    return name;
  }
  std::mt19937& random_;
  const QTemporaryDir& folder_;
};

struct Soak {
  std::mt19937 random;
  QTemporaryDir folder;
  RandomDialogs dialogs{random, folder};
  std::unique_ptr<ImageDraw> window = std::make_unique<ImageDraw>();
  QWidget elsewhere;  // another window that takes the focus away
  std::vector<std::string> steps;
  bool verbose = false;

  explicit Soak(unsigned seed) : random(seed) {
    dialogs.picture = [this] { return View().Picture.Image(); };
    dialogs.companion = [this] { return View().Picture.Companion(); };
    inFile = View().Picture.Image();
    window->show();
    elsewhere.setWindowTitle(QStringLiteral("别的程序"));
    elsewhere.resize(200, 100);
    WriteSamplePictures();
    QApplication::processEvents();
  }

  unsigned Pick(unsigned n) { return std::uniform_int_distribution<unsigned>(0, n - 1)(random); }
  int Between(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random); }

  WorkspaceView View() const { return window->View(); }
  template <class T = QWidget>
  T* Find(const QString& name) const { return window->findChild<T*>(name); }
  QAction* Action(const char* name) const { return Find<QAction>(QString::fromLatin1(name)); }

  // The picture as it is in a file (or the new picture): while the picture counts as unchanged, it
  // is this one.
  QImage inFile;

  void WriteSamplePictures() {
    for (int i = 0; i < 3; ++i) {
      QImage img(Between(40, 700), Between(40, 300), QImage::Format_RGB32);
      img.fill(qRgb(Between(0, 255), Between(0, 255), Between(0, 255)));
      for (int k = 0; k < 50; ++k) img.setPixel(Between(0, img.width() - 1), Between(0, img.height() - 1), qRgb(0, 0, 0));
      img.save(folder.filePath(QStringLiteral("sample-%1.%2").arg(i).arg(i == 1 ? "png" : "bmp")));
    }
    QImage photo(320, 200, QImage::Format_RGB32);
    photo.fill(qRgb(200, 120, 40));
    photo.save(folder.filePath("photo.jpg"), "JPG");
    // A file that is no picture at all.
    QFile junk(folder.filePath("junk.bin"));
    if (junk.open(QIODevice::WriteOnly)) junk.write(QByteArray(300, '\x42'));
  }

  // ---- Input as the window system delivers it ----
  static void Mouse(QWidget* target, QEvent::Type type, QPointF pos, Qt::MouseButton button, Qt::MouseButtons buttons,
                    Qt::KeyboardModifiers mods = Qt::NoModifier) {
    QMouseEvent e(type, pos, target->mapToGlobal(pos), button, buttons, mods);
    QApplication::sendEvent(target, &e);
  }
  static void Key(QWidget* target, QEvent::Type type, int key, Qt::KeyboardModifiers mods = Qt::NoModifier,
                  const QString& text = QString()) {
    QKeyEvent e(type, key, mods, text);
    QApplication::sendEvent(target, &e);
  }
  // Where the picture lies on the surface at the present zoom (widget units).
  int Zoom() const { return Find<DrawingArea>("F_PIC")->Zoom(); }
  QPointF RandomPoint() {
    const QSize s = View().Picture.Size() * Zoom();
    // Mostly inside the picture, sometimes beyond its edges.
    return QPointF(Between(-60, s.width() + 60) + (Pick(4) == 0 ? 0.5 : 0.0), Between(-60, s.height() + 60));
  }

  // ---- The steps ----
  std::string ChooseTool() {
    const int palette = static_cast<int>(Pick(4));
    if (Pick(3) == 0) {
      const char* names[] = {"Menu_View_cy", "Menu_View_xz", "Menu_View_fh", "Menu_View_hs"};
      Action(names[palette])->trigger();
    }
    // The selection tool and the text tool come up more often than the other 48 buttons.
    const unsigned k = Pick(8);
    const int button = k < 2 ? 1 : k == 2 ? 3 : Between(2, 50);
    if (auto* b = Find<QToolButton>(QStringLiteral("Tools%1").arg(button))) b->click();
    return "tool: palette " + std::to_string(View().State.PaletteIndex) + " button " + std::to_string(button);
  }

  std::string DragOnPicture(bool checkUndo) {
    QWidget* surface = Find("Draw_PIC");
    const QImage before = View().Picture.Image();
    const bool undoable = View().State.ToolId != ToolId::None && View().State.ToolId != ToolId::Text &&
                          View().State.ToolId != ToolId::Selection;
    const QPointF from = RandomPoint(), to = RandomPoint();
    const int moves = static_cast<int>(Pick(4));
    Mouse(surface, QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
    for (int i = 1; i <= moves; ++i)
      Mouse(surface, QEvent::MouseMove, from + (to - from) * (double(i) / moves), Qt::NoButton, Qt::LeftButton);
    Mouse(surface, QEvent::MouseButtonRelease, moves ? to : from, Qt::LeftButton, Qt::NoButton);
    std::string what = (moves ? "drag " : "click ") + Point(from) + (moves ? " -> " + Point(to) : "");
    if (checkUndo && undoable && Action("Menu_Edit_Undo")->isEnabled()) {
      const QImage after = View().Picture.Image();
      Action("Menu_Edit_Undo")->trigger();
      if (View().Picture.Size() == before.size() && View().Picture.Image() != before)
        Violation("Undo after the drag did not give back the picture before it");
      Action("Menu_Edit_Redo")->trigger();
      if (View().Picture.Image() != after) Violation("Redo after Undo did not give back the drawing");
      what += ", undone and redone";
    }
    return what;
  }

  std::string DragFrame() {
    QWidget* frame = Find("SelectIMG");
    if (!View().Selection.Visible()) return "frame drag: no selection";
    const QPointF at(Between(0, std::max(0, frame->width() - 1)), Between(0, std::max(0, frame->height() - 1)));
    const QPointF by(Between(-40, 40), Between(-40, 40));
    Mouse(frame, QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton);
    Mouse(frame, QEvent::MouseMove, at + by / 2, Qt::NoButton, Qt::LeftButton);
    // Sometimes the release never arrives: the focus goes elsewhere first.
    if (Pick(6) == 0) {
      TakeFocusAway();
      return "frame press and move, then the focus went elsewhere";
    }
    Mouse(frame, QEvent::MouseButtonRelease, at + by, Qt::LeftButton, Qt::NoButton);
    return "frame drag by " + Point(by);
  }

  std::string PressKey() {
    QWidget* surface = Find("Draw_PIC");
    const int keys[] = {Qt::Key_Left, Qt::Key_Right, Qt::Key_Up, Qt::Key_Down, Qt::Key_Delete, Qt::Key_Backspace,
                        Qt::Key_Period, Qt::Key_Control, Qt::Key_C};
    const int key = keys[Pick(9)];
    if (key == Qt::Key_Control) {
      Key(surface, Pick(2) ? QEvent::KeyPress : QEvent::KeyRelease, key, Qt::ControlModifier);
      return "Ctrl";
    }
    if (key == Qt::Key_C) {
      Key(surface, QEvent::KeyPress, key, Qt::ControlModifier, QString(QChar(3)));
      return "Ctrl+C on the canvas";
    }
    const Qt::KeyboardModifiers mods = key == Qt::Key_Period ? Qt::KeypadModifier : Qt::NoModifier;
    Key(surface, QEvent::KeyPress, key, mods);
    Key(surface, QEvent::KeyRelease, key, mods);
    return "key " + std::to_string(key);
  }

  // Every entry of the command table's rows, menu and pop-up, but 退出 (the soak goes on in the
  // same window) and the help window (it waits for its own 确定).
  static std::vector<const char*> CommandNames() {
    std::vector<const char*> names;
    for (const CommandRow& row : CommandTable()) {
      if (row.id == Command::Exit || row.id == Command::ProgramHelp) continue;
      if (row.objectName) names.push_back(row.objectName);
      if (row.popupName) names.push_back(row.popupName);
    }
    return names;
  }

  std::string RunCommand() {
    static const std::vector<const char*> kCommands = CommandNames();
    const char* name = kCommands[Pick(static_cast<unsigned>(kCommands.size()))];
    QAction* a = Action(name);
    if (!a || !a->isEnabled()) return std::string(name) + " (disabled)";
    const QImage before = View().Picture.Image();
    const bool wasChanged = View().State.ImageChanged;
    const bool dragging = View().State.DragActive || View().Selection.Dragging();
    const QString captionBefore = window->windowTitle();
    const qsizetype messagesBefore = dialogs.messages.size();
    const bool textShown = Find("TypeTxt")->isVisible();
    ForgetFiles();
    const ExportedFile exportedBefore = Exported();
    // Through the toolbar button when the command has one, half of the time.
    QWidget* button = Find<QToolBar>("Tbar")->widgetForAction(a);
    if (button && Pick(2)) {
      static_cast<QAbstractButton*>(button)->click();
    } else {
      a->trigger();
    }
    const std::string what = std::string(name) + (dialogs.lastAnswer.isEmpty() ? "" : " [" + dialogs.lastAnswer.toStdString() + "]");
    const QString command = QString::fromLatin1(name);
    if ((command == "Menu_File_New" || command == "Menu_File_Open") && dialogs.lastAnswer == "Esc") {
      // Dismissing the question changes nothing at all.
      if (View().Picture.Image() != before || View().State.ImageChanged != wasChanged ||
          window->windowTitle() != captionBefore)
        Violation("dismissing the question changed the picture, the caption or the changed flag");
    }
    // Undo and redo alternate. No command runs while a drag is under way (its release may not have
    // arrived yet, the focus having gone elsewhere).
    if (dragging) {
      if (View().Picture.Image() != before) Violation("a command changed the picture during a drag");
      return what;
    }
    if (command == "Menu_Edit_Undo" && dialogs.messages.size() == messagesBefore &&
        (Action("Menu_Edit_Undo")->isEnabled() || !Action("Menu_Edit_Redo")->isEnabled()))
      Violation("after Undo, Undo is still offered or Redo is not");
    if (command == "Menu_Edit_Redo" && dialogs.messages.size() == messagesBefore && !Action("Menu_Edit_Undo")->isEnabled())
      Violation("after Redo, Undo is not offered");
    NoteFiles(command == "Menu_File_New", messagesBefore);
    const bool paper = command == "Menu_File_Export" || command == "Menu_File_Print" ||
                       command == "Menu_File_PrintPreview" || command.endsWith("_CopyHd");
    // A text on show is stamped first, as for every command that reads the picture.
    if (paper && !textShown &&
        (View().Picture.Image() != before || View().State.ImageChanged != wasChanged ||
         window->windowTitle() != captionBefore))
      Violation(what + " changed the picture, the caption or the changed flag");
    if (command == "Menu_File_Export") CheckExported(exportedBefore);
    return what;
  }

  // The export's file as it was before a command, to tell whether the command wrote it.
  struct ExportedFile {
    QString path;
    QDateTime modified;
  };
  ExportedFile Exported() const {
    ExportedFile f;
    for (const char* name : {"exported-0.png", "exported-1.png"}) {
      const QFileInfo info(folder.filePath(QString::fromLatin1(name)));
      if (info.exists() && (f.path.isEmpty() || info.lastModified() > f.modified)) f = {info.filePath(), info.lastModified()};
    }
    return f;
  }
  // A file the export wrote is the companion whole or cut to its ink, at the companion's
  // resolution.
  void CheckExported(const ExportedFile& before) {
    const ExportedFile after = Exported();
    if (after.path.isEmpty() || (after.path == before.path && after.modified == before.modified)) return;
    const QImage written(after.path);
    const Canvas& picture = View().Picture;
    const int k = picture.Companion().isNull() ? 1 : picture.k();
    if (written.size() != picture.Size() * k && written.size() != InkRect(picture.Raster()).size() * k)
      Violation("an exported picture has neither the size of the companion nor that of its ink");
    if (written.dotsPerMeterX() != DotsPerMetreAt(k)) Violation("an exported picture has the wrong resolution");
  }

  void ForgetFiles() {
    dialogs.lastAnswer.clear();
    dialogs.savedPath.clear();
    dialogs.openedPath.clear();
    dialogs.exportedPath.clear();
  }

  // After a command: a saved picture reopens identical; a file written or read whole, or a new
  // picture, is now the picture that counts as unchanged.
  void NoteFiles(bool wasNew, qsizetype) {
    const QString caption = window->windowTitle();
    // Written when the caption names it (a 否 to replacing it, or a cancel, writes nothing).
    if (!dialogs.savedPath.isEmpty() && caption.endsWith(dialogs.savedPath)) {
      CheckSaved(dialogs.savedPath, dialogs.savedPicture, dialogs.savedCompanion);
      inFile = dialogs.savedPicture;
    }
    const bool opened = !dialogs.openedPath.isEmpty() && caption.endsWith(QFileInfo(dialogs.openedPath).absoluteFilePath());
    const bool cleared = wasNew && AllWhite(View().Picture.Raster());
    if (!View().State.ImageChanged && (opened || cleared)) inFile = View().Picture.Image();
  }

  void CheckSaved(const QString& path, const QImage& picture, const QImage& companion) {
    const PictureRead read = ReadPictureFile(path);
    if (!read.ok()) return Violation("a saved picture does not open: " + read.error.toStdString());
    if (read.image.convertToFormat(QImage::Format_RGB32) != picture.convertToFormat(QImage::Format_RGB32))
      Violation("a saved picture reopens different");
    // A format that keeps detail gives the companion back as it was.
    if (read.format && read.format->KeepsDetail() && !companion.isNull() && read.companion != companion)
      Violation("a picture saved as " + read.format->name.toStdString() + " reopens without its companion");
  }

  // A command's key, typed where the focus is (the picture, a tool window's text box, elsewhere). A
  // key of a command that is not offered changes nothing.
  std::string PressCommandKey() {
    std::vector<const CommandRow*> rows;
    for (const CommandRow& row : CommandTable())
      if (row.id != Command::Exit && row.id != Command::ProgramHelp && !row.keys[0].isEmpty()) rows.push_back(&row);
    const CommandRow& row = *rows[Pick(static_cast<unsigned>(rows.size()))];
    const QKeyCombination key = row.keys[0][0];
    QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : Find("Draw_PIC");
    const bool offered = window->Action(row.id)->isEnabled();
    const QImage before = View().Picture.Image();
    const qsizetype messagesBefore = dialogs.messages.size();
    ForgetFiles();
    QTest::keyClick(target, key.key(), key.keyboardModifiers());
    NoteFiles(row.id == Command::New, messagesBefore);
    // In a text box the key may be the box's own (Del deletes a character of the text on show).
    const bool textBox = qobject_cast<QLineEdit*>(target) || qobject_cast<QComboBox*>(target);
    if (!offered && !textBox && View().Picture.Image() != before) Violation(std::string(row.objectName) + "'s key acted while not offered");
    return "key " + row.keys[0].toString().toStdString() + " (" + row.objectName + ") on " +
           target->objectName().toStdString();
  }

  // Something dragged in from another program and dropped on the picture: a picture file, picture
  // data, a web address or a folder.
  std::string DropSomething() {
    auto data = std::make_unique<QMimeData>();
    std::string what;
    ForgetFiles();
    const qsizetype messagesBefore = dialogs.messages.size();
    switch (Pick(4)) {
      case 0: {
        const QStringList files = QDir(folder.path()).entryList({"*.bmp", "*.png", "*.jpg"}, QDir::Files, QDir::Name);
        if (files.isEmpty()) return "drop: no file";
        dialogs.openedPath = folder.filePath(files[static_cast<int>(Pick(static_cast<unsigned>(files.size())))]);
        data->setUrls({QUrl::fromLocalFile(dialogs.openedPath)});
        what = "dropped " + QFileInfo(dialogs.openedPath).fileName().toStdString();
        break;
      }
      case 1: {
        QImage img(Between(1, 120), Between(1, 90), QImage::Format_RGB32);
        img.fill(qRgb(Between(0, 255), Between(0, 255), Between(0, 255)));
        data->setImageData(img);
        what = "dropped picture data";
        break;
      }
      case 2:
        data->setUrls({QUrl(QStringLiteral("https://example.org/a.png"))});
        what = "dropped a web address";
        break;
      default:
        data->setUrls({QUrl::fromLocalFile(folder.path())});
        what = "dropped a folder";
        break;
    }
    QWidget* surface = Find("Draw_PIC");
    const QPoint at = surface->mapTo(window.get(), RandomPoint().toPoint());
    QDragEnterEvent enter(at, Qt::CopyAction, data.get(), Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window.get(), &enter);
    QDropEvent drop(QPointF(at), Qt::CopyAction, data.get(), Qt::LeftButton, Qt::NoModifier);
    if (enter.isAccepted()) QApplication::sendEvent(window.get(), &drop);
    NoteFiles(false, messagesBefore);
    return what + " at " + Point(at);
  }

  std::string EditParameters() {
    static const char* const kTexts[] = {"5", "0", "-3", "2.5", "abc", "1e9", "200", "", ".", "12abc", "999999999999"};
    const char* names[] = {"SP", "SZ", "CS"};
    auto* box = window->findChild<QComboBox*>(QString::fromLatin1(names[Pick(3)]));
    if (!box) return "parameters: none";
    const char* text = kTexts[Pick(std::size(kTexts))];
    box->setEditText(QString::fromUtf8(text));
    return std::string("parameter ") + box->objectName().toStdString() + " = \"" + text + "\"";
  }

  std::string EditText() {
    auto* typed = window->findChild<QComboBox*>("Txt");
    if (!typed || !typed->isVisible()) return "text window: not open";
    static const char* const kTexts[] = {"F=ma", "甲乙", "v₀", "", "αβγ", "℃ 30°"};
    switch (Pick(4)) {
      case 0:
        typed->setEditText(QString::fromUtf8(kTexts[Pick(std::size(kTexts))]));
        return "typed a text";
      case 1:
        if (auto* b = window->findChild<QPushButton*>(QStringLiteral("Command3_%1").arg(Pick(45)))) b->click();
        return "clicked a symbol";
      case 2:
        if (auto* ok = window->findChild<QPushButton*>("Command1")) ok->click();
        return "确定";
      default:
        if (auto* cancel = window->findChild<QPushButton*>("Command2")) cancel->click();
        return "取消";
    }
  }

  // Markup typed into the text window at a random place of its text, or a button of the second
  // row clicked: scripts, vectors, unclosed braces, doubled and full-width specials. The preview
  // may only put the text's colour on the picture as it was at the click.
  std::string TypeMarkup() {
    auto* typed = window->findChild<QComboBox*>("Txt");
    if (!typed) return "markup: no text window";
    std::string what;
    if (!typed->isVisible()) {
      // A label is begun as a user begins one: the text tool, a click on the picture.
      if (View().State.ToolId != ToolId::Text) {
        Action("Menu_View_cy")->trigger();
        if (auto* b = Find<QToolButton>(QStringLiteral("Tools3"))) b->click();
      }
      const QSize size = View().Picture.Size();
      const QPointF at(Between(0, size.width() - 1), Between(0, size.height() - 1));
      Mouse(Find("Draw_PIC"), QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton);
      Mouse(Find("Draw_PIC"), QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton);
      what = "text tool click " + Point(at) + ", ";
      if (!typed->isVisible()) return what + "no text window";
    }
    static const char* const kMarkup[] = {"F_1", "v_0^2", "m/s^2", "x_{max", "10^{-3}", "\\vec F", "\\vec{AB}_1",
                                          "__^^{{}}\\\\", "_", "^", "x＿｛1｝", "＼vec v", "v₀²⁻¹", "\\vec", "}{",
                                          "E_k=\\vec{p}^2/2m", "\\alpha_", "x_{a_b}"};
    QLineEdit* edit = typed->lineEdit();
    if (Pick(3) == 0) {
      const int button = Between(45, 59);
      if (auto* b = window->findChild<QPushButton*>(QStringLiteral("Command3_%1").arg(button))) b->click();
      what += "markup button " + std::to_string(button);
    } else {
      const char* markup = kMarkup[Pick(std::size(kMarkup))];
      edit->setCursorPosition(Between(0, static_cast<int>(edit->text().size())));
      edit->insert(QString::fromUtf8(markup));
      what += std::string("typed markup \"") + markup + "\"";
    }
    const WorkspaceView v = View();
    const QImage& backing = v.History.Img_Copy.image;
    const QImage& shown = v.Picture.Raster();
    if (typed->isVisible() && backing.size() == shown.size()) {
      const QRgb ink = v.Picture.ForeColor | 0xff000000u;
      for (int y = 0; y < shown.height(); ++y) {
        const auto* a = reinterpret_cast<const QRgb*>(shown.constScanLine(y));
        const auto* b = reinterpret_cast<const QRgb*>(backing.constScanLine(y));
        for (int x = 0; x < shown.width(); ++x)
          if ((a[x] | 0xff000000u) != (b[x] | 0xff000000u) && (a[x] | 0xff000000u) != ink) {
            Violation("the text preview put another colour than the text's on the picture");
            return what;
          }
      }
    }
    return what + " -> \"" + typed->currentText().toStdString() + "\"";
  }

  std::string PickColour() {
    auto* swatch = window->findChild<QLabel*>(QStringLiteral("FColor%1").arg(Pick(32)));
    if (!swatch || !swatch->isVisible()) return "colour: window closed";
    Mouse(swatch, QEvent::MouseButtonRelease, {2, 2}, Qt::LeftButton, Qt::NoButton);
    return "colour swatch";
  }

  std::string DragHandle() {
    const char* names[] = {"RL", "UD", "RLUD"};
    QWidget* h = Find(QString::fromLatin1(names[Pick(3)]));
    // Keep the picture within a size that keeps the soak quick (the way is in widget units).
    const QSize s = View().Picture.Size();
    const int z = Zoom();
    const int dx = std::clamp(Between(-300, 300), (50 - s.width()) * z, (1200 - s.width()) * z);
    const int dy = std::clamp(Between(-200, 200), (50 - s.height()) * z, (900 - s.height()) * z);
    Mouse(h, QEvent::MouseButtonPress, {2, 2}, Qt::LeftButton, Qt::LeftButton);
    Mouse(h, QEvent::MouseMove, QPointF(2 + dx, 2 + dy), Qt::NoButton, Qt::LeftButton);
    Mouse(h, QEvent::MouseButtonRelease, QPointF(2 + dx, 2 + dy), Qt::LeftButton, Qt::NoButton);
    return "handle " + h->objectName().toStdString() + " by " + Point(QPointF(dx, dy));
  }

  void TakeFocusAway() {
    elsewhere.show();
    elsewhere.activateWindow();
    QApplication::processEvents();
  }

  std::string ChangeFocus() {
    switch (Pick(3)) {
      case 0:
        TakeFocusAway();
        return "another program took the focus";
      case 1:
        window->activateWindow();
        QApplication::processEvents();
        return "back to the window";
      default:
        Find("Draw_PIC")->setFocus(Qt::MouseFocusReason);
        return "a click gave the picture the focus";
    }
  }

  std::string ChangeZoom() {
    // Mostly in, so that the soak spends a good part of its steps zoomed.
    const char* const commands[] = {"Menu_View_ZoomIn", "Menu_View_ZoomIn", "Menu_View_ZoomOut", "Menu_View_ZoomActual"};
    const unsigned k = Pick(6);
    std::string what;
    if (k < 4) {
      QAction* a = Action(commands[k]);
      if (!a->isEnabled()) return std::string(commands[k]) + " (disabled)";
      a->trigger();
      what = commands[k];
    } else {
      // Ctrl + wheel over the viewport, a notch or two either way.
      QWidget* area = Find("F_PIC");
      const QPointF at(Between(0, area->width() - 1), Between(0, area->height() - 1));
      const int notches = Pick(3) ? 1 + static_cast<int>(Pick(2)) : -1 - static_cast<int>(Pick(2));
      QWheelEvent e(at, area->mapToGlobal(at), QPoint(), QPoint(0, 120 * notches), Qt::NoButton,
                    Qt::ControlModifier, Qt::NoScrollPhase, false);
      QApplication::sendEvent(area, &e);
      what = "Ctrl + wheel " + std::to_string(notches) + " at " + Point(at);
    }
    return what + ": " + std::to_string(Zoom() * 100) + "%";
  }

  std::string Step(int index) {
    // While a selection floats, most steps work on it.
    if (View().Selection.Visible() && Pick(4) != 0) {
      switch (Pick(4)) {
        case 0: return DragFrame();
        case 1: return Pick(3) ? PressKey() : PressCommandKey();
        case 2: return ChangeFocus();
        default: return RunCommand();
      }
    }
    const unsigned k = Pick(100);
    if (k < 12) return ChooseTool();
    if (k < 45) return DragOnPicture(index % 4 == 0);
    if (k < 53) return DragFrame();
    if (k < 60) return PressKey();
    if (k < 65) return PressCommandKey();
    if (k < 80) return RunCommand();
    if (k < 84) return EditParameters();
    if (k < 87) return EditText();
    if (k < 89) return TypeMarkup();
    if (k < 91) return PickColour();
    if (k < 92) return DropSomething();
    if (k < 95) return DragHandle();
    if (k < 98) return ChangeZoom();
    return ChangeFocus();
  }

  // ---- The invariants ----
  std::string violation;
  void Violation(const std::string& what) {
    if (violation.empty()) violation = what;
  }

  void CheckInvariants() {
    const WorkspaceView v = View();
    const bool visible = v.Selection.Visible();
    if (Find("SelectIMG")->isVisible() != visible) Violation("the frame widget disagrees with the selection");
    for (const CommandRow& row : CommandTable()) {
      if (row.availability != Availability::Selection) continue;
      for (const char* name : {row.objectName, row.popupName})
        if (name && Action(name)->isEnabled() != visible)
          Violation(std::string(name) + (visible ? " is disabled while the frame is visible" : " is enabled without a frame"));
    }
    if (!visible && v.Selection.Dragging()) Violation("a hidden selection is still being dragged");
    const QSize s = v.Picture.Size();
    if (s.width() < 50 || s.height() < 50 || s.width() > Canvas::kMaxSide || s.height() > Canvas::kMaxSide)
      Violation("the picture left its size limits");
    const int zoom = Zoom();
    if (Find("Draw_PIC")->size() != s * zoom) Violation("the surface does not show the whole picture at its zoom");
    if (visible && Find("SelectIMG")->geometry() != QRect(v.Selection.FrameRect().topLeft() * zoom,
                                                          v.Selection.FrameRect().size() * zoom))
      Violation("the frame does not lie over the selection at the zoom");
    if (auto* level = Find<QLabel>("ZoomLb"); !level || level->text() != QString::number(zoom * 100) + "%")
      Violation("the zoom level read-out disagrees with the zoom");
    // The high-resolution companion agrees with the picture within a pixel both ways (whatever is
    // drawn on the picture, a preview included, reaches it when it is asked for).
    if (v.Picture.k() > 1) {
      const QString why = faithfulness::Check(v.Picture.Raster(), v.Picture.Companion(), v.Picture.k());
      if (!why.isEmpty()) {
        if (qEnvironmentVariableIsSet("QM_SOAK_DUMP")) {
          v.Picture.Raster().save("/tmp/soak_pic.png");
          v.Picture.Companion().save("/tmp/soak_big.png");
        }
        Violation("the companion disagrees with the picture: " + why.toStdString());
      }
    }
    // A picture that counts as unchanged is the one in its file, or the new picture: anything else
    // on it is work that closing must ask about (an unstamped text preview is no work yet).
    if (!v.State.ImageChanged && !Find("TypeTxt")->isVisible() && v.Picture.Image() != inFile)
      Violation("the picture holds work but counts as unchanged");
  }

  static bool AllWhite(const QImage& image) {
    for (int y = 0; y < image.height(); ++y) {
      const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
      for (int x = 0; x < image.width(); ++x)
        if ((row[x] | 0xff000000u) != 0xffffffffu) return false;
    }
    return true;
  }

  static std::string Point(QPointF p) {
    // Appended, not chained with +: GCC 12 at -O3 warns falsely (-Wrestrict) on such a chain.
    std::string s = "(";
    s.append(std::to_string(static_cast<int>(p.x()))).append(", ").append(std::to_string(static_cast<int>(p.y())));
    return s.append(")");
  }
};

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  // The window's recovery copies go to a folder of the soak's own, not to the user's.
  const QTemporaryDir stateFolder;
  if (stateFolder.isValid()) qputenv("XDG_STATE_HOME", stateFolder.path().toLocal8Bit());
  QApplication app(argc, argv);
  QApplication::setFont(QFont(QStringLiteral("WenQuanYi Micro Hei"), 9));
  InstallProgramStyle();  // the program's look, as it starts
  int steps = 200;
  unsigned seed = 1;
  bool verbose = false;
  for (int i = 1; i < argc; ++i) {
    const QByteArray a(argv[i]);
    if (a == "--steps" && i + 1 < argc) {
      steps = QByteArray(argv[++i]).toInt();
    } else if (a == "--seed" && i + 1 < argc) {
      seed = QByteArray(argv[++i]).toUInt();
    } else if (a == "--verbose") {
      verbose = true;
    } else {
      std::fprintf(stderr, "用法：quillmere_soak [--steps N] [--seed S] [--verbose]\n");
      return 2;
    }
  }
  Soak soak(seed);
  soak.verbose = verbose;
  for (int i = 0; i < steps; ++i) {
    soak.steps.push_back(soak.Step(i));
    QApplication::processEvents();
    soak.CheckInvariants();
    if (verbose) std::printf("%d: %s\n", i + 1, soak.steps.back().c_str());
    if (!soak.violation.empty()) {
      std::printf("soak: violation at step %d of seed %u: %s\n", i + 1, seed, soak.violation.c_str());
      std::printf("steps (replay with --seed %u --steps %d):\n", seed, i + 1);
      for (size_t k = 0; k < soak.steps.size(); ++k) std::printf("  %zu: %s\n", k + 1, soak.steps[k].c_str());
      return 1;
    }
  }
  std::printf("soak: %d steps, 0 violations\n", steps);
  return 0;
}
