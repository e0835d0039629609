#include "dialogs/FontWindow.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "dialogs/NumberText.h"

const QRgb FontWindow::kStandardColors[16] = {
    qRgb(0, 0, 0),       qRgb(128, 0, 0),     qRgb(0, 128, 0),   qRgb(128, 128, 0),
    qRgb(0, 0, 128),     qRgb(128, 0, 128),   qRgb(0, 128, 128), qRgb(128, 128, 128),
    qRgb(192, 192, 192), qRgb(255, 0, 0),     qRgb(0, 255, 0),   qRgb(255, 255, 0),
    qRgb(0, 0, 255),     qRgb(255, 0, 255),   qRgb(0, 255, 255), qRgb(255, 255, 255),
};

namespace {

const char* const kColorNames[16] = {"黑色", "褐红色", "绿色", "橄榄色", "藏青色", "紫色",
                                     "蓝绿色", "灰色", "银色", "红色", "酸橙色", "黄色",
                                     "蓝色", "紫红色", "水绿色", "白色"};

const char* const kSizes[] = {"8",  "9",  "10", "11", "12", "14", "16", "18",
                              "20", "22", "24", "26", "28", "36", "48", "72"};

constexpr double kMinSize = 1;
constexpr double kMaxSize = 500;

QIcon Swatch(QRgb c) {
  QPixmap p(16, 12);
  p.fill(QColor(c));
  return QIcon(p);
}

}  // namespace

FontWindow::FontWindow(QWidget* parent, const QFont& font, QRgb color) : QDialog(parent) {
  setObjectName(QStringLiteral("FontWindow"));
  setWindowTitle(QStringLiteral("字体"));
  setModal(true);

  startFamily_ = font.family();
  const double size = font.pointSizeF();
  startSize_ = size > 0 ? std::clamp(size, kMinSize, kMaxSize) : 10;

  Filter = new QLineEdit(this);
  Filter->setObjectName(QStringLiteral("Filter"));
  Filter->setPlaceholderText(QStringLiteral("查找字体"));
  Filter->setClearButtonEnabled(true);
  FamilyList = new QListWidget(this);
  FamilyList->setObjectName(QStringLiteral("FamilyList"));
  FamilyList->addItems(QFontDatabase::families());
  const auto found = FamilyList->findItems(startFamily_, Qt::MatchFixedString);
  if (!found.isEmpty()) FamilyList->setCurrentItem(found.first());

  SizeBox = new QComboBox(this);
  SizeBox->setObjectName(QStringLiteral("SizeBox"));
  SizeBox->setEditable(true);
  SizeBox->setInsertPolicy(QComboBox::NoInsert);
  for (const char* s : kSizes) SizeBox->addItem(QString::fromLatin1(s));
  SizeBox->setEditText(QString::number(startSize_));

  Bold = new QCheckBox(QStringLiteral("粗体"), this);
  Bold->setChecked(font.bold());
  Italic = new QCheckBox(QStringLiteral("斜体"), this);
  Italic->setChecked(font.italic());
  Underline = new QCheckBox(QStringLiteral("下划线"), this);
  Underline->setChecked(font.underline());
  StrikeOut = new QCheckBox(QStringLiteral("删除线"), this);
  StrikeOut->setChecked(font.strikeOut());

  ColorBox = new QComboBox(this);
  ColorBox->setObjectName(QStringLiteral("ColorBox"));
  int colorIndex = -1;
  for (int i = 0; i < 16; ++i) {
    ColorBox->addItem(Swatch(kStandardColors[i]), QString::fromUtf8(kColorNames[i]),
                      QVariant::fromValue<uint>(kStandardColors[i]));
    if (qRgb(qRed(color), qGreen(color), qBlue(color)) == kStandardColors[i]) colorIndex = i;
  }
  if (colorIndex < 0) {
    // A colour chosen elsewhere (the colour window's swatches) stays on offer as it is.
    ColorBox->addItem(Swatch(color), QStringLiteral("当前颜色"),
                      QVariant::fromValue<uint>(qRgb(qRed(color), qGreen(color), qBlue(color))));
    colorIndex = 16;
  }
  ColorBox->setCurrentIndex(colorIndex);

  Preview = new QLabel(QStringLiteral("AaBbYy 甲乙丙丁 αβγ"), this);
  Preview->setObjectName(QStringLiteral("Preview"));
  Preview->setAlignment(Qt::AlignCenter);
  Preview->setMinimumSize(280, 60);
  Preview->setFrameShape(QFrame::StyledPanel);

  auto* buttons = new QDialogButtonBox(this);
  buttons->addButton(QStringLiteral("确定"), QDialogButtonBox::AcceptRole);
  buttons->addButton(QStringLiteral("取消"), QDialogButtonBox::RejectRole);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* grid = new QGridLayout;
  grid->addWidget(new QLabel(QStringLiteral("字体："), this), 0, 0);
  grid->addWidget(Filter, 1, 0);
  grid->addWidget(FamilyList, 2, 0, 4, 1);
  grid->addWidget(new QLabel(QStringLiteral("大小："), this), 0, 1);
  grid->addWidget(SizeBox, 1, 1);
  auto* effects = new QVBoxLayout;
  effects->addWidget(Bold);
  effects->addWidget(Italic);
  effects->addWidget(Underline);
  effects->addWidget(StrikeOut);
  effects->addWidget(new QLabel(QStringLiteral("颜色："), this));
  effects->addWidget(ColorBox);
  effects->addStretch();
  grid->addLayout(effects, 2, 1, 4, 1);
  auto* outer = new QVBoxLayout(this);
  outer->addLayout(grid);
  outer->addWidget(Preview);
  outer->addWidget(buttons);

  connect(Filter, &QLineEdit::textChanged, this, [this] { ApplyFilter(); });
  connect(FamilyList, &QListWidget::currentRowChanged, this, [this] { UpdatePreview(); });
  connect(SizeBox, &QComboBox::editTextChanged, this, [this] { UpdatePreview(); });
  for (QCheckBox* box : {Bold, Italic, Underline, StrikeOut})
    connect(box, &QCheckBox::toggled, this, [this] { UpdatePreview(); });
  connect(ColorBox, &QComboBox::currentIndexChanged, this, [this] { UpdatePreview(); });
  UpdatePreview();
}

void FontWindow::ApplyFilter() {
  const QString needle = Filter->text().trimmed();
  for (int i = 0; i < FamilyList->count(); ++i) {
    QListWidgetItem* item = FamilyList->item(i);
    item->setHidden(!needle.isEmpty() && !item->text().contains(needle, Qt::CaseInsensitive));
  }
  if (FamilyList->currentItem() && FamilyList->currentItem()->isHidden()) {
    for (int i = 0; i < FamilyList->count(); ++i) {
      if (!FamilyList->item(i)->isHidden()) {
        FamilyList->setCurrentRow(i);
        break;
      }
    }
  }
}

QString FontWindow::ChosenFamily() const {
  const QListWidgetItem* item = FamilyList->currentItem();
  return item && !item->isHidden() ? item->text() : startFamily_;
}

double FontWindow::ChosenSize() const {
  const double v = NumberText::LeadingNumber(SizeBox->currentText());
  if (!(v > 0)) return startSize_;
  return std::clamp(v, kMinSize, kMaxSize);
}

QRgb FontWindow::ChosenColor() const { return ColorBox->currentData().value<uint>(); }

QFont FontWindow::ChosenFont(const QFont& base) const {
  QFont f = base;
  f.setFamily(ChosenFamily());
  f.setPointSizeF(ChosenSize());
  f.setBold(Bold->isChecked());
  f.setItalic(Italic->isChecked());
  f.setUnderline(Underline->isChecked());
  return f;
}

void FontWindow::UpdatePreview() {
  QFont f = ChosenFont(Preview->font());
  f.setStrikeOut(StrikeOut->isChecked());
  // The preview keeps a readable height whatever the size.
  f.setPointSizeF(std::min(ChosenSize(), 36.0));
  Preview->setFont(f);
  QPalette p = Preview->palette();
  p.setColor(QPalette::WindowText, QColor(ChosenColor()));
  Preview->setPalette(p);
}

bool FontWindow::Choose(QWidget* parent, QFont& font, QRgb& color) {
  FontWindow window(parent, font, color);
  if (window.exec() != QDialog::Accepted) return false;
  font = window.ChosenFont(font);
  color = window.ChosenColor();
  return true;
}
