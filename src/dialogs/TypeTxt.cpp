#include "dialogs/TypeTxt.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTextBoundaryFinder>
#include <QVBoxLayout>

#include "dialogs/NumberText.h"

const char* const TypeTxt::kSymbols[kButtonCount] = {
    "α", "β", "γ", "θ", "Ω", "ε", "μ", "λ", "ρ", "π", "φ", "Ψ",   // 0-11
    "δ", "η", "ω", "Δ", "∝", "∞", "°", "′", "″", "℃", "υ",        // 12-22
    "甲", "乙", "丙", "丁", "①", "②", "③", "④",                  // 23-30
    "⑴", "⑵", "⑶", "⑷", "×", "＞", "＜",                        // 31-37
    "≥", "≤", "≠", "≈", "∠", "∥", "÷",                          // 38-44
    "²", "³", "⁻¹", "₀", "₁", "₂", "⊗", "⊙", "→", "·", "±", "√",  // 45-56
    "上标", "下标", "矢量",                                      // 57-59: markup
};

namespace {

const char* const kUnits[] = {"kg", "mg", "m/s", "mm", "cm", "km", "F/N", "U/V", "I/A", "V(m/s)",
                              "45°", "30°", "60°", "V′", "m/s²", "N·m", "kg·m/s", "J", "W", "Ω",
                              "Hz", "T", "Wb", "C", "eV"};
const char* const kSizes[] = {"6.5", "8",  "9",  "10", "11", "12", "14", "16",
                              "18",  "20", "22", "24", "26", "28", "30", "48"};

constexpr double kDefaultSize = 10;
// Larger sizes only cost time and memory: a glyph of 500 points already covers most pictures.
constexpr double kMaxSize = 500;
constexpr int kSymbolsPerRow = 15;
constexpr int kSuperscript = 57, kSubscript = 58, kVector = 59;  // the markup buttons

}  // namespace

TypeTxt::TypeTxt(QWidget* mainWindow)
    : QWidget(mainWindow, Qt::Tool | Qt::WindowStaysOnTopHint), mainWindow_(mainWindow) {
  setObjectName(QStringLiteral("TypeTxt"));
  setWindowTitle(QStringLiteral("打字工具栏："));
}

void TypeTxt::Build() {
  // The controls are made when the window first opens: sixty buttons of symbols cost the font
  // look-ups of their fallback fonts, which the program's start need not wait for.
  if (text_) return;
  prompt_ = new QLabel(QStringLiteral("请键入输出的内容："), this);
  prompt_->setObjectName(QStringLiteral("Label1"));
  text_ = new QComboBox(this);
  text_->setObjectName(QStringLiteral("Txt"));
  text_->setEditable(true);
  text_->setInsertPolicy(QComboBox::NoInsert);
  // No inline completion: the preview must show exactly what was typed, not a unit it completes to.
  text_->setCompleter(nullptr);
  for (const char* u : kUnits) text_->addItem(QString::fromUtf8(u));
  text_->setEditText(QString());
  text_->setMinimumWidth(220);

  sizePrompt_ = new QLabel(QStringLiteral("字体大小："), this);
  sizePrompt_->setObjectName(QStringLiteral("Label2"));
  fontSize_ = new QComboBox(this);
  fontSize_->setObjectName(QStringLiteral("Combo1"));
  fontSize_->setEditable(true);
  fontSize_->setInsertPolicy(QComboBox::NoInsert);
  fontSize_->setCompleter(nullptr);
  for (const char* s : kSizes) fontSize_->addItem(QString::fromLatin1(s));
  fontSize_->setEditText(QStringLiteral("10"));

  ok_ = new QPushButton(QStringLiteral("确定"), this);
  ok_->setObjectName(QStringLiteral("Command1"));
  cancel_ = new QPushButton(QStringLiteral("取消"), this);
  cancel_->setObjectName(QStringLiteral("Command2"));

  auto* symbols = new QGridLayout;
  symbols->setSpacing(1);
  // The second row: scripts and signs, then the markup buttons, whose captions need more room.
  auto* second = new QHBoxLayout;
  second->setSpacing(1);
  for (int i = 0; i < kButtonCount; ++i) {
    auto* b = new QPushButton(QString::fromUtf8(kSymbols[i]), this);
    b->setObjectName(QStringLiteral("Command3_%1").arg(i));
    b->setFixedSize(i < kSuperscript ? 26 : 40, 24);
    b->setFocusPolicy(Qt::NoFocus);  // typing goes on in Txt after a symbol
    symbols_[i] = b;
    if (i < kSymbolCount)
      symbols->addWidget(b, i / kSymbolsPerRow, i % kSymbolsPerRow);
    else
      second->addWidget(b);
    connect(b, &QPushButton::clicked, this, [this, i] { InsertSymbol(i); });
  }
  second->addStretch();

  hint_ = new QLabel(QStringLiteral("F_1 → F₁，m/s^2 → m/s²，\\vec{F} → 矢量F（英文标点）"), this);
  hint_->setObjectName(QStringLiteral("Label3"));
  hint_->setTextFormat(Qt::PlainText);

  auto* top = new QGridLayout;
  top->addWidget(prompt_, 0, 0);
  top->addWidget(text_, 0, 1);
  top->addWidget(hint_, 1, 1);  // under the text box
  top->setColumnStretch(1, 1);
  auto* settings = new QHBoxLayout;
  settings->addWidget(sizePrompt_);
  settings->addWidget(fontSize_);
  settings->addStretch();
  settings->addWidget(ok_);
  settings->addWidget(cancel_);
  auto* outer = new QVBoxLayout(this);
  outer->setContentsMargins(6, 6, 6, 6);
  outer->addLayout(top);
  outer->addLayout(settings);
  outer->addLayout(symbols);
  outer->addLayout(second);
  setFixedSize(sizeHint());

  // editTextChanged covers typing, an input method's commit, a choice from the list and the
  // program's own changes.
  connect(text_, &QComboBox::editTextChanged, this, [this] { TextChanged(); });
  // Every click on a unit of the list redraws, the one already shown too (no text change then).
  connect(text_, &QComboBox::activated, this, [this] { TextChanged(); });
  connect(fontSize_, &QComboBox::editTextChanged, this, [this] { CheckFontSize(); });
  connect(ok_, &QPushButton::clicked, this, [this] { Commit(); });
  // Enter in the text box is "确定" (an empty text stamps nothing).
  connect(text_->lineEdit(), &QLineEdit::returnPressed, this, [this] { Commit(); });
  connect(cancel_, &QPushButton::clicked, this, [this] { Cancel(); });
}

void TypeTxt::Load() {
  Build();
  loaded_ = true;
  emit FontSizeChosen(kDefaultSize);
}

void TypeTxt::Unload() {
  if (!text_) return;
  quiet_ = true;
  text_->setEditText(QString());
  fontSize_->setEditText(QStringLiteral("10"));
  quiet_ = false;
  loaded_ = false;
  opened_ = false;
}

void TypeTxt::Open() {
  Build();
  const bool previewing = isVisible() && opened_;
  if (!loaded_) Load();
  opened_ = true;
  show();
  PlaceAtMainWindow();
  raise();
  activateWindow();
  text_->setFocus();
  if (text_->currentText().isEmpty()) return;
  // A second click while the text shows moves the preview there; the text kept from the last
  // "确定" shows at the new point at once, selected, so that typing replaces it.
  emit PreviewWanted(Text());
  if (!previewing) text_->lineEdit()->selectAll();
}

void TypeTxt::PlaceAtMainWindow() {
  if (!mainWindow_) return;
  // Bottom-right corner on the main window's bottom-right corner, outer frames on both sides.
  const QRect main = mainWindow_->frameGeometry();
  const QSize own = frameGeometry().size();
  move(main.x() + main.width() - own.width(), main.y() + main.height() - own.height());
}

QString TypeTxt::Text() const { return text_ ? text_->currentText() : QString(); }

void TypeTxt::InsertSymbol(int i) {
  QLineEdit* edit = text_->lineEdit();
  text_->setFocus();
  if (i == kSuperscript || i == kSubscript) {
    // The script's braces, the cursor between them.
    edit->insert(i == kSuperscript ? QStringLiteral("^{}") : QStringLiteral("_{}"));
    edit->cursorBackward(false);
    return;
  }
  if (i != kVector) {
    edit->insert(QString::fromUtf8(kSymbols[i]));
    return;
  }
  // 矢量: the selection, or else the character before the cursor, gets the arrow; with neither
  // (at the start, after a space) the braces come with the cursor between them.
  if (!edit->hasSelectedText()) {
    const QString text = edit->text();
    const int cursor = edit->cursorPosition();
    QTextBoundaryFinder clusters(QTextBoundaryFinder::Grapheme, text);
    clusters.setPosition(cursor);
    const qsizetype start = cursor > 0 ? clusters.toPreviousBoundary() : -1;
    if (start < 0 || text[start].isSpace()) {
      edit->insert(QStringLiteral("\\vec{}"));
      edit->cursorBackward(false);
      return;
    }
    edit->setSelection(cursor, static_cast<int>(start) - cursor);
  }
  edit->insert(QStringLiteral("\\vec{") + edit->selectedText() + QLatin1Char('}'));
}

void TypeTxt::TextChanged() {
  if (quiet_ || !loaded_ || !opened_) return;
  emit PreviewWanted(Text());
}

void TypeTxt::CheckFontSize() {
  if (checkingSize_) return;
  const QString typed = fontSize_->currentText();
  QString text = NumberText::AsNumber(typed);
  const double v = NumberText::LeadingNumber(text);
  if (!(v > 0)) {
    text = QStringLiteral("10");
  } else if (v > kMaxSize) {
    text = QStringLiteral("500");
  }
  if (text != typed) {
    checkingSize_ = true;
    fontSize_->setEditText(text);
    checkingSize_ = false;
  }
  // The preview takes the new size at the next change of the text.
  if (!quiet_) emit FontSizeChosen(NumberText::LeadingNumber(text));
}

void TypeTxt::Commit() {
  if (opened_) emit Stamped(Text());
  opened_ = false;
  hide();
}

void TypeTxt::Cancel() {
  if (isVisible() && opened_) emit PreviewRemoved();
  hide();
  Unload();
}

bool TypeTxt::PreviewShowing() const { return isVisible() && opened_ && text_ && !text_->currentText().isEmpty(); }

void TypeTxt::StampNow() {
  if (isVisible()) Commit();
}

void TypeTxt::CloseWindow() {
  if (!isVisible()) {
    // Hidden after "确定": the stamped text stays; the window just unloads.
    if (loaded_) Unload();
    return;
  }
  Cancel();
}

void TypeTxt::keyPressEvent(QKeyEvent* event) {
  // Esc anywhere in the window is "取消" (an open list of units closes first, on its own).
  if (event->matches(QKeySequence::Cancel)) {
    Cancel();
    return;
  }
  QWidget::keyPressEvent(event);
}

void TypeTxt::closeEvent(QCloseEvent* event) {
  // The close box: like "取消".
  if (opened_) emit PreviewRemoved();
  event->accept();
  Unload();
}
