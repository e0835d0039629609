#pragma once
#include <QString>
#include <QWidget>
#include <array>

class QComboBox;
class QLabel;
class QPushButton;

// The text window "打字工具栏：". What is typed into Txt is previewed on the picture at the clicked
// point; "确定" (or Enter in Txt) stamps it, "取消" (or Esc, or the close box) takes it away. Symbol buttons insert Greek letters, signs,
// numbering marks, scripts and the markup of scripts and vectors at the cursor; Combo1 sets the
// font size. The window only edits the text: it asks the main window, through its signals, to draw
// the preview, stamp or remove it. The text goes out as typed, markup and all (TextMarkup.h says
// how it is drawn). The controls keep the names Label1, Txt, Label2, Combo1, Command1, Command2,
// Command3_0 .. Command3_59 and Label3 (the markup hint) as their object names; they are made
// when the window first opens.
class TypeTxt : public QWidget {
  Q_OBJECT
 public:
  explicit TypeTxt(QWidget* mainWindow);

  // A click with the text tool: shows the window with its bottom-right corner on the main
  // window's and gives Txt the keyboard focus. The window loads afresh (empty text, size 10)
  // unless it was only hidden by "确定"; then the kept text previews at once at the new point,
  // selected, so that typing replaces it and "确定" stamps it again. A second click while a text
  // shows moves its preview.
  void Open();
  // The picture the text was previewed on is replaced: the preview goes, the window closes and
  // unloads.
  void CloseWindow();
  bool IsLoaded() const { return loaded_; }
  // A text preview is on the picture, not yet stamped: the window shows after a click and its
  // text is not empty.
  bool PreviewShowing() const;
  // Stamps the text exactly as "确定" does.
  void StampNow();

  // The captions of the Command3 buttons, by index: the 45 symbols, then the second row of
  // scripts, signs and the three markup buttons 上标, 下标, 矢量.
  static constexpr int kSymbolCount = 45, kButtonCount = 60;
  static const char* const kSymbols[kButtonCount];

 signals:
  // The text changed (or the window opened again over a text): draw it at the clicked point over
  // the picture as it was at the click, removing the previous preview.
  void PreviewWanted(const QString& text);
  // "确定": the text becomes part of the picture.
  void Stamped(const QString& text);
  // "取消", Esc, the close box, or the picture replaced: the picture as it was at the click.
  void PreviewRemoved();
  // The font size chosen, in points (10 when the window loads).
  void FontSizeChosen(double points);

 protected:
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  // Makes the window's controls, once (when it first opens).
  void Build();
  void Load();
  void Unload();
  void TextChanged();
  void CheckFontSize();
  void Commit();
  void Cancel();
  void PlaceAtMainWindow();
  // What button i puts into the text at the cursor.
  void InsertSymbol(int i);
  QString Text() const;

  QWidget* mainWindow_ = nullptr;
  QLabel* prompt_ = nullptr;         // Label1
  QComboBox* text_ = nullptr;        // Txt
  QLabel* sizePrompt_ = nullptr;     // Label2
  QComboBox* fontSize_ = nullptr;    // Combo1
  QPushButton* ok_ = nullptr;        // Command1
  QPushButton* cancel_ = nullptr;    // Command2
  QLabel* hint_ = nullptr;           // Label3
  std::array<QPushButton*, kButtonCount> symbols_{};  // Command3_0 .. Command3_59
  bool loaded_ = false;
  bool opened_ = false;         // opened by a click since it loaded: previews go to the picture
  bool quiet_ = false;          // resetting the controls: no drawing, no font change
  bool checkingSize_ = false;   // our own rewrite of Combo1
};
