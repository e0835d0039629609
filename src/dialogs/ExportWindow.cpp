#include "dialogs/ExportWindow.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

ExportWindow::ExportWindow(const ExportSizes& sizes, QWidget* parent) : QDialog(parent), sizes_(sizes) {
  setObjectName("ExportWindow");
  setWindowTitle(QStringLiteral("导出高清图像"));
  auto* layout = new QVBoxLayout(this);
  if (sizes.reduced) {
    auto* note = new QLabel(QStringLiteral("图像较大，按原分辨率输出"), this);
    note->setObjectName("ReducedNote");
    layout->addWidget(note);
  }
  if (sizes.enlargedParts) {
    auto* note = new QLabel(QStringLiteral("图像中有来自其他程序或位图文件的部分，这些部分按放大的图像输出。"), this);
    note->setObjectName("EnlargedNote");
    note->setWordWrap(true);
    layout->addWidget(note);
  }
  trim_ = new QCheckBox(QStringLiteral("裁去空白边"), this);
  trim_->setObjectName("TrimEdges");
  trim_->setChecked(true);
  layout->addWidget(trim_);
  size_ = new QLabel(this);
  size_->setObjectName("ExportSize");
  layout->addWidget(size_);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("确定"));
  buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("取消"));
  layout->addWidget(buttons);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(trim_, &QCheckBox::toggled, this, [this] { ShowSize(); });
  ShowSize();
}

bool ExportWindow::Trim() const { return trim_->isChecked(); }

QString ExportWindow::SizeText(QSize pixels, int dotsPerMetre) {
  const double w = pixels.width() * 100.0 / dotsPerMetre, h = pixels.height() * 100.0 / dotsPerMetre;
  return QStringLiteral("%1 × %2 像素，打印尺寸 %3 × %4 厘米")
      .arg(pixels.width())
      .arg(pixels.height())
      .arg(w, 0, 'f', 1)
      .arg(h, 0, 'f', 1);
}

void ExportWindow::ShowSize() { size_->setText(SizeText(Trim() ? sizes_.trimmed : sizes_.whole, sizes_.dotsPerMetre)); }
