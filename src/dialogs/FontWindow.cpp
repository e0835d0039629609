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

  filter_ = new QLineEdit(this);
  filter_->setObjectName(QStringLiteral("Filter"));
  filter_->setPlaceholderText(QStringLiteral("查找字体"));
  filter_->setClearButtonEnabled(true);
  familyList_ = new QListWidget(this);
  familyList_->setObjectName(QStringLiteral("FamilyList"));
  familyList_->addItems(QFontDatabase::families());
  const auto found = familyList_->findItems(startFamily_, Qt::MatchFixedString);
  if (!found.isEmpty()) familyList_->setCurrentItem(found.first());

  sizeBox_ = new QComboBox(this);
  sizeBox_->setObjectName(QStringLiteral("SizeBox"));
  sizeBox_->setEditable(true);
  sizeBox_->setInsertPolicy(QComboBox::NoInsert);
  for (const char* s : kSizes) sizeBox_->addItem(QString::fromLatin1(s));
  sizeBox_->setEditText(QString::number(startSize_));

  bold_ = new QCheckBox(QStringLiteral("粗体"), this);

  bold_->setObjectName(QStringLiteral("Bold"));
  bold_->setChecked(font.bold());
  italic_ = new QCheckBox(QStringLiteral("斜体"), this);
  italic_->setObjectName(QStringLiteral("Italic"));
  italic_->setChecked(font.italic());
  underline_ = new QCheckBox(QStringLiteral("下划线"), this);
  underline_->setObjectName(QStringLiteral("Underline"));
  underline_->setChecked(font.underline());
  strikeOut_ = new QCheckBox(QStringLiteral("删除线"), this);
  strikeOut_->setObjectName(QStringLiteral("StrikeOut"));
  strikeOut_->setChecked(font.strikeOut());

  colorBox_ = new QComboBox(this);
  colorBox_->setObjectName(QStringLiteral("ColorBox"));
  int colorIndex = -1;
  for (int i = 0; i < 16; ++i) {
    colorBox_->addItem(Swatch(kStandardColors[i]), QString::fromUtf8(kColorNames[i]),
                      QVariant::fromValue<uint>(kStandardColors[i]));
    if (qRgb(qRed(color), qGreen(color), qBlue(color)) == kStandardColors[i]) colorIndex = i;
  }
  if (colorIndex < 0) {
    // A colour chosen elsewhere (the colour window's swatches) stays on offer as it is.
    colorBox_->addItem(Swatch(color), QStringLiteral("当前颜色"),
                      QVariant::fromValue<uint>(qRgb(qRed(color), qGreen(color), qBlue(color))));
    colorIndex = 16;
  }
  colorBox_->setCurrentIndex(colorIndex);

  preview_ = new QLabel(QStringLiteral("AaBbYy 甲乙丙丁 αβγ"), this);
  preview_->setObjectName(QStringLiteral("Preview"));
  preview_->setAlignment(Qt::AlignCenter);
  preview_->setMinimumSize(280, 60);
  preview_->setFrameShape(QFrame::StyledPanel);

  auto* buttons = new QDialogButtonBox(this);
  buttons->addButton(QStringLiteral("确定"), QDialogButtonBox::AcceptRole);
  buttons->addButton(QStringLiteral("取消"), QDialogButtonBox::RejectRole);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* grid = new QGridLayout;
  grid->addWidget(new QLabel(QStringLiteral("字体："), this), 0, 0);
  grid->addWidget(filter_, 1, 0);
  grid->addWidget(familyList_, 2, 0, 4, 1);
  grid->addWidget(new QLabel(QStringLiteral("大小："), this), 0, 1);
  grid->addWidget(sizeBox_, 1, 1);
  auto* effects = new QVBoxLayout;
  effects->addWidget(bold_);
  effects->addWidget(italic_);
  effects->addWidget(underline_);
  effects->addWidget(strikeOut_);
  effects->addWidget(new QLabel(QStringLiteral("颜色："), this));
  effects->addWidget(colorBox_);
  effects->addStretch();
  grid->addLayout(effects, 2, 1, 4, 1);
  auto* outer = new QVBoxLayout(this);
  outer->addLayout(grid);
  outer->addWidget(preview_);
  outer->addWidget(buttons);

  connect(filter_, &QLineEdit::textChanged, this, [this] { ApplyFilter(); });
  connect(familyList_, &QListWidget::currentRowChanged, this, [this] { UpdatePreview(); });
  connect(sizeBox_, &QComboBox::editTextChanged, this, [this] { UpdatePreview(); });
  for (QCheckBox* box : {bold_, italic_, underline_, strikeOut_})
    connect(box, &QCheckBox::toggled, this, [this] { UpdatePreview(); });
  connect(colorBox_, &QComboBox::currentIndexChanged, this, [this] { UpdatePreview(); });
  UpdatePreview();
}

void FontWindow::ApplyFilter() {
  const QString needle = filter_->text().trimmed();
  for (int i = 0; i < familyList_->count(); ++i) {
    QListWidgetItem* item = familyList_->item(i);
    item->setHidden(!needle.isEmpty() && !item->text().contains(needle, Qt::CaseInsensitive));
  }
  if (familyList_->currentItem() && familyList_->currentItem()->isHidden()) {
    for (int i = 0; i < familyList_->count(); ++i) {
      if (!familyList_->item(i)->isHidden()) {
        familyList_->setCurrentRow(i);
        break;
      }
    }
  }
}

QString FontWindow::ChosenFamily() const {
  const QListWidgetItem* item = familyList_->currentItem();
  return item && !item->isHidden() ? item->text() : startFamily_;
}

double FontWindow::ChosenSize() const {
  const double v = NumberText::LeadingNumber(sizeBox_->currentText());
  if (!(v > 0)) return startSize_;
  return std::clamp(v, kMinSize, kMaxSize);
}

QRgb FontWindow::ChosenColor() const { return colorBox_->currentData().value<uint>(); }

QFont FontWindow::ChosenFont(const QFont& base) const {
  QFont f = base;
  f.setFamily(ChosenFamily());
  f.setPointSizeF(ChosenSize());
  f.setBold(bold_->isChecked());
  f.setItalic(italic_->isChecked());
  f.setUnderline(underline_->isChecked());
  return f;
}

void FontWindow::UpdatePreview() {
  QFont f = ChosenFont(preview_->font());
  f.setStrikeOut(strikeOut_->isChecked());
  // The preview keeps a readable height whatever the size.
  f.setPointSizeF(std::min(ChosenSize(), 36.0));
  preview_->setFont(f);
  QPalette p = preview_->palette();
  p.setColor(QPalette::WindowText, QColor(ChosenColor()));
  preview_->setPalette(p);
}

bool FontWindow::Choose(QWidget* parent, QFont& font, QRgb& color) {
  FontWindow window(parent, font, color);
  if (window.exec() != QDialog::Accepted) return false;
  font = window.ChosenFont(font);
  color = window.ChosenColor();
  return true;
}
