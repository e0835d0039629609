#include "dialogs/TypeTxt.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStringEncoder>
#include <QVBoxLayout>

#include "dialogs/NumberText.h"
#include "figures/Canvas.h"

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

TypeTxt::TypeTxt(Canvas& canvas, QWidget* mainWindow)
    : QWidget(mainWindow, Qt::Tool | Qt::WindowStaysOnTopHint), canvas_(canvas), mainWindow_(mainWindow) {
  setObjectName(QStringLiteral("TypeTxt"));
  setWindowTitle(QStringLiteral("打字工具栏："));

  Label1 = new QLabel(QStringLiteral("请键入输出的内容："), this);
  Label1->setObjectName(QStringLiteral("Label1"));
  Txt = new QComboBox(this);
  Txt->setObjectName(QStringLiteral("Txt"));
  Txt->setEditable(true);
  Txt->setInsertPolicy(QComboBox::NoInsert);
  // No inline completion: the preview must show exactly what was typed, not a unit it completes to.
  Txt->setCompleter(nullptr);
  for (const char* u : kUnits) Txt->addItem(QString::fromUtf8(u));
  Txt->setEditText(QString());
  Txt->setMinimumWidth(220);

  Label2 = new QLabel(QStringLiteral("字体大小："), this);
  Label2->setObjectName(QStringLiteral("Label2"));
  Combo1 = new QComboBox(this);
  Combo1->setObjectName(QStringLiteral("Combo1"));
  Combo1->setEditable(true);
  Combo1->setInsertPolicy(QComboBox::NoInsert);
  Combo1->setCompleter(nullptr);
  for (const char* s : kSizes) Combo1->addItem(QString::fromLatin1(s));
  Combo1->setEditText(QStringLiteral("10"));

  Command1 = new QPushButton(QStringLiteral("确定"), this);
  Command1->setObjectName(QStringLiteral("Command1"));
  Command2 = new QPushButton(QStringLiteral("取消"), this);
  Command2->setObjectName(QStringLiteral("Command2"));

  auto* symbols = new QGridLayout;
  symbols->setSpacing(1);
  for (int i = 0; i < 45; ++i) {
    auto* b = new QPushButton(QString::fromUtf8(kSymbols[i]), this);
    b->setObjectName(QStringLiteral("Command3_%1").arg(i));
    b->setFixedSize(26, 24);
    b->setFocusPolicy(Qt::NoFocus);  // typing goes on in Txt after a symbol
    Command3[i] = b;
    symbols->addWidget(b, i / kSymbolsPerRow, i % kSymbolsPerRow);
    connect(b, &QPushButton::clicked, this, [this, b] {
      Txt->setEditText(Txt->currentText() + b->text());
      Txt->setFocus();
    });
  }

  auto* top = new QHBoxLayout;
  top->addWidget(Label1);
  top->addWidget(Txt, 1);
  auto* second = new QHBoxLayout;
  second->addWidget(Label2);
  second->addWidget(Combo1);
  second->addStretch();
  second->addWidget(Command1);
  second->addWidget(Command2);
  auto* outer = new QVBoxLayout(this);
  outer->setContentsMargins(6, 6, 6, 6);
  outer->addLayout(top);
  outer->addLayout(second);
  outer->addLayout(symbols);
  setFixedSize(sizeHint());

  // editTextChanged covers typing, an input method's commit, a choice from the list and the
  // program's own changes.
  connect(Txt, &QComboBox::editTextChanged, this, [this] { TextChanged(); });
  connect(Combo1, &QComboBox::editTextChanged, this, [this] { CheckFontSize(); });
  connect(Command1, &QPushButton::clicked, this, [this] { Commit(); });
  connect(Command2, &QPushButton::clicked, this, [this] { Cancel(); });
}

void TypeTxt::Load() {
  loaded_ = true;
  canvas_.Font.setPointSizeF(kDefaultSize);
}

void TypeTxt::Unload() {
  quiet_ = true;
  Txt->setEditText(QString());
  Combo1->setEditText(QStringLiteral("10"));
  quiet_ = false;
  loaded_ = false;
  backing_ = nullptr;
}

void TypeTxt::Open(QPoint insertion, const QImage* backing) {
  const bool previewing = isVisible();
  insertion_ = insertion;
  backing_ = backing;
  if (!loaded_) Load();
  show();
  PlaceAtMainWindow();
  raise();
  activateWindow();
  Txt->setFocus();
  // A second click while the text shows moves the preview there.
  if (previewing && !Txt->currentText().isEmpty()) {
    DrawText();
    NotifySurface();
  }
}

void TypeTxt::PlaceAtMainWindow() {
  if (!mainWindow_) return;
  // Bottom-right corner on the main window's bottom-right corner, outer frames on both sides.
  const QRect main = mainWindow_->frameGeometry();
  const QSize own = frameGeometry().size();
  move(main.x() + main.width() - own.width(), main.y() + main.height() - own.height());
}

void TypeTxt::NotifySurface() {
  if (SurfaceChanged) SurfaceChanged();
}

void TypeTxt::DrawText() {
  // The text in code page 936, one byte per Latin character, two per Chinese character; what the
  // code page lacks comes out as '?'.
  QStringEncoder encoder("GBK");
  const QByteArray bytes = encoder.encode(Txt->currentText());
  if (backing_) canvas_.Restore(*backing_);
  canvas_.TextOutA(insertion_.x(), insertion_.y(), bytes, static_cast<int>(bytes.size()));
}

void TypeTxt::TextChanged() {
  if (quiet_ || !loaded_ || !backing_) return;
  DrawText();
  NotifySurface();
}

void TypeTxt::CheckFontSize() {
  if (checkingSize_) return;
  const QString typed = Combo1->currentText();
  QString text = NumberText::AsNumber(typed);
  const double v = NumberText::LeadingNumber(text);
  if (!(v > 0)) {
    text = QStringLiteral("10");
  } else if (v > kMaxSize) {
    text = QStringLiteral("500");
  }
  if (text != typed) {
    checkingSize_ = true;
    Combo1->setEditText(text);
    checkingSize_ = false;
  }
  // The preview takes the new size at the next change of the text.
  if (!quiet_) canvas_.Font.setPointSizeF(NumberText::LeadingNumber(text));
}

void TypeTxt::Commit() {
  const bool hasText = !Txt->currentText().isEmpty();
  if (backing_) DrawText();
  NotifySurface();
  hide();
  if (hasText && backing_ && Committed) Committed();
}

void TypeTxt::RemovePreview() {
  if (!isVisible() || !backing_) return;
  canvas_.Restore(*backing_);
  NotifySurface();
}

void TypeTxt::Cancel() {
  RemovePreview();
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
  RemovePreview();
  event->accept();
  Unload();
}
