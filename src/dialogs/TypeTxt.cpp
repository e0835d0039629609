#include "dialogs/TypeTxt.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStringEncoder>
#include <QVBoxLayout>

#include "dialogs/NumberText.h"

const char* const TypeTxt::kSymbols[45] = {
    "α", "β", "γ", "θ", "Ω", "ε", "μ", "λ", "ρ", "π", "φ", "Ψ",   // 0-11
    "δ", "η", "ω", "Δ", "∝", "∞", "°", "′", "″", "℃", "υ",        // 12-22
    "甲", "乙", "丙", "丁", "①", "②", "③", "④",                  // 23-30
    "⑴", "⑵", "⑶", "⑷", "×", "＞", "＜",                        // 31-37
    "≥", "≤", "≠", "≈", "∠", "∥", "÷",                          // 38-44
};

namespace {

const char* const kUnits[] = {"kg", "mg", "m/s", "mm", "cm", "km", "F/N",
                              "U/V", "I/A", "V(m/s)", "45°", "30°", "60°", "V′"};
const char* const kSizes[] = {"6.5", "8",  "9",  "10", "11", "12", "14", "16",
                              "18",  "20", "22", "24", "26", "28", "30", "48"};

constexpr double kDefaultSize = 10;
// Larger sizes only cost time and memory: a glyph of 500 points already covers most pictures.
constexpr double kMaxSize = 500;
constexpr int kSymbolsPerRow = 15;

}  // namespace

TypeTxt::TypeTxt(QWidget* mainWindow)
    : QWidget(mainWindow, Qt::Tool | Qt::WindowStaysOnTopHint), mainWindow_(mainWindow) {
  setObjectName(QStringLiteral("TypeTxt"));
  setWindowTitle(QStringLiteral("打字工具栏："));

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
  for (int i = 0; i < 45; ++i) {
    auto* b = new QPushButton(QString::fromUtf8(kSymbols[i]), this);
    b->setObjectName(QStringLiteral("Command3_%1").arg(i));
    b->setFixedSize(26, 24);
    b->setFocusPolicy(Qt::NoFocus);  // typing goes on in Txt after a symbol
    symbols_[i] = b;
    symbols->addWidget(b, i / kSymbolsPerRow, i % kSymbolsPerRow);
    connect(b, &QPushButton::clicked, this, [this, b] {
      text_->setEditText(text_->currentText() + b->text());
      text_->setFocus();
    });
  }

  auto* top = new QHBoxLayout;
  top->addWidget(prompt_);
  top->addWidget(text_, 1);
  auto* second = new QHBoxLayout;
  second->addWidget(sizePrompt_);
  second->addWidget(fontSize_);
  second->addStretch();
  second->addWidget(ok_);
  second->addWidget(cancel_);
  auto* outer = new QVBoxLayout(this);
  outer->setContentsMargins(6, 6, 6, 6);
  outer->addLayout(top);
  outer->addLayout(second);
  outer->addLayout(symbols);
  setFixedSize(sizeHint());

  // editTextChanged covers typing, an input method's commit, a choice from the list and the
  // program's own changes.
  connect(text_, &QComboBox::editTextChanged, this, [this] { TextChanged(); });
  // Every click on a unit of the list redraws, the one already shown too (no text change then).
  connect(text_, &QComboBox::activated, this, [this] { TextChanged(); });
  connect(fontSize_, &QComboBox::editTextChanged, this, [this] { CheckFontSize(); });
  connect(ok_, &QPushButton::clicked, this, [this] { Commit(); });
  connect(cancel_, &QPushButton::clicked, this, [this] { Cancel(); });
}

void TypeTxt::Load() {
  loaded_ = true;
  emit FontSizeChosen(kDefaultSize);
}

void TypeTxt::Unload() {
  quiet_ = true;
  text_->setEditText(QString());
  fontSize_->setEditText(QStringLiteral("10"));
  quiet_ = false;
  loaded_ = false;
  opened_ = false;
}

void TypeTxt::Open() {
  const bool previewing = isVisible() && opened_;
  if (!loaded_) Load();
  opened_ = true;
  show();
  PlaceAtMainWindow();
  raise();
  activateWindow();
  text_->setFocus();
  // A second click while the text shows moves the preview there.
  if (previewing && !text_->currentText().isEmpty()) emit PreviewWanted(Text());
}

void TypeTxt::PlaceAtMainWindow() {
  if (!mainWindow_) return;
  // Bottom-right corner on the main window's bottom-right corner, outer frames on both sides.
  const QRect main = mainWindow_->frameGeometry();
  const QSize own = frameGeometry().size();
  move(main.x() + main.width() - own.width(), main.y() + main.height() - own.height());
}

QByteArray TypeTxt::Text() const {
  // The text in code page 936, one byte per Latin character, two per Chinese character; what the
  // code page lacks comes out as '?'.
  QStringEncoder encoder("GBK");
  return encoder.encode(text_->currentText());
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

void TypeTxt::CloseWindow() {
  if (!isVisible()) {
    // Hidden after "确定": the stamped text stays; the window just unloads.
    if (loaded_) Unload();
    return;
  }
  Cancel();
}

void TypeTxt::closeEvent(QCloseEvent* event) {
  // The close box: like "取消".
  if (opened_) emit PreviewRemoved();
  event->accept();
  Unload();
}
