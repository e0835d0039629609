#include "dialogs/SetData.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "dialogs/NumberText.h"
#include "workspace/ToolCatalogue.h"

namespace {

QComboBox* MakeValueBox(QWidget* parent, const char* name) {
  auto* box = new QComboBox(parent);
  box->setObjectName(QString::fromLatin1(name));
  box->setEditable(true);
  box->setInsertPolicy(QComboBox::NoInsert);
  for (int i = 1; i <= 30; ++i) box->addItem(QString::number(i));
  box->setEditText(QStringLiteral("5"));
  return box;
}

}  // namespace

double SetData::LeadingNumber(const QString& text) { return NumberText::LeadingNumber(text); }

SetData::SetData(QWidget* mainWindow)
    : QWidget(mainWindow, Qt::Tool | Qt::WindowStaysOnTopHint), mainWindow_(mainWindow) {
  setObjectName(QStringLiteral("SetData"));
  setWindowTitle(QStringLiteral("请选择："));

  Frame1 = new QFrame(this);
  Frame1->setObjectName(QStringLiteral("Frame1"));
  Frame1->setFrameShape(QFrame::StyledPanel);

  PL = new QLabel(QStringLiteral("水平方向分为："), Frame1);
  PL->setObjectName(QStringLiteral("PL"));
  ZL = new QLabel(QStringLiteral("竖直方向分为："), Frame1);
  ZL->setObjectName(QStringLiteral("ZL"));
  SP = MakeValueBox(Frame1, "SP");
  SZ = MakeValueBox(Frame1, "SZ");
  CS = MakeValueBox(Frame1, "CS");

  auto* grid = new QGridLayout(Frame1);
  grid->addWidget(PL, 0, 0);
  grid->addWidget(SP, 0, 1);
  grid->addWidget(ZL, 1, 0);
  grid->addWidget(CS, 1, 0);  // in ZL's place; the two are never shown together
  grid->addWidget(SZ, 1, 1);
  auto* outer = new QVBoxLayout(this);
  outer->setContentsMargins(4, 4, 4, 4);
  outer->addWidget(Frame1);

  // Design state: the first row only.
  SZ->hide();
  ZL->hide();
  CS->hide();

  // The check runs on every change of a box's text: typing, a choice from the list, the program.
  connect(SP, &QComboBox::editTextChanged, this, [this] { CheckBox(SP, Box::SP); });
  connect(SZ, &QComboBox::editTextChanged, this, [this] { CheckBox(SZ, Box::SZ); });
  connect(CS, &QComboBox::editTextChanged, this, [this] { CheckBox(CS, Box::CS); });

  // The same size whichever row is shown.
  const int w = qMax(200, sizeHint().width());
  const int h = qMax(40, PL->sizeHint().height() + SP->sizeHint().height() + 28);
  setFixedSize(w, qMax(h, sizeHint().height()));
}

void SetData::CheckBox(QComboBox* box, Box which) {
  if (checking_) return;  // our own rewrite of the text below
  const QString typed = box->currentText();
  // Not a number: the text becomes its leading number ("3abc" -> "3"; none -> "0").
  QString text = NumberText::AsNumber(typed);
  const bool positive = which == Box::SP || (which == Box::SZ && toolId_ != 118 && toolId_ != 119);
  if (positive && !(NumberText::LeadingNumber(text) > 0)) text = QStringLiteral("5");
  if (text == typed) return;
  checking_ = true;
  box->setEditText(text);
  checking_ = false;
}

void SetData::ToolChosen(int toolId) {
  toolId_ = toolId;
  if (IsParameterTool(toolId)) {
    if (!open_) {
      open_ = true;
      show();
      PlaceAtMainWindow();
    } else {
      show();
    }
  } else if (open_ || isVisible()) {
    open_ = false;
    hide();
  }

  PL->show();
  SP->show();
  SZ->hide();
  ZL->hide();
  CS->hide();

  const ToolEntry& e = CatalogueEntry(toolId);
  if (e.FirstPrompt[0] != '\0') {
    PL->setText(QString::fromUtf8(e.FirstPrompt));
    SP->setEditText(QString::fromUtf8(e.FirstDefault));
  }
  if (e.SecondPrompt[0] != '\0') {
    ZL->setText(QString::fromUtf8(e.SecondPrompt));
    SZ->setEditText(QString::fromUtf8(e.SecondDefault));
    ZL->show();
    SZ->show();
  }
  if (e.FunctionTool) {
    SZ->setEditText(QStringLiteral("0"));
    CS->setEditText(QStringLiteral("0"));
    SZ->show();
    CS->show();
  }
}

ParameterValues SetData::Values() const {
  if (!open_) return ParameterValues{};
  return ParameterValues{LeadingNumber(SP->currentText()), LeadingNumber(SZ->currentText()),
                         LeadingNumber(CS->currentText())};
}

void SetData::PlaceAtMainWindow() {
  if (!mainWindow_) return;
  // Lower right of the main window: 1 pixel in from its right edge, 44 pixels up from its bottom,
  // outer frames on both sides.
  const QRect main = mainWindow_->frameGeometry();
  const QSize own = frameGeometry().size();
  move(main.x() + main.width() - own.width() - 1, main.y() + main.height() - own.height() - 44);
}

void SetData::closeEvent(QCloseEvent* event) {
  open_ = false;
  event->accept();
}
