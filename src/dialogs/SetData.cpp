#include "dialogs/SetData.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "dialogs/NumberText.h"

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

SetData::SetData(QWidget* mainWindow)
    : QWidget(mainWindow, Qt::Tool | Qt::WindowStaysOnTopHint), mainWindow_(mainWindow) {
  setObjectName(QStringLiteral("SetData"));
  setWindowTitle(QStringLiteral("请选择："));

  frame_ = new QFrame(this);
  frame_->setObjectName(QStringLiteral("Frame1"));
  frame_->setFrameShape(QFrame::StyledPanel);

  firstPrompt_ = new QLabel(QStringLiteral("水平方向分为："), frame_);
  firstPrompt_->setObjectName(QStringLiteral("PL"));
  secondPrompt_ = new QLabel(QStringLiteral("竖直方向分为："), frame_);
  secondPrompt_->setObjectName(QStringLiteral("ZL"));
  firstValue_ = MakeValueBox(frame_, "SP");
  secondValue_ = MakeValueBox(frame_, "SZ");
  thirdValue_ = MakeValueBox(frame_, "CS");

  auto* grid = new QGridLayout(frame_);
  grid->addWidget(firstPrompt_, 0, 0);
  grid->addWidget(firstValue_, 0, 1);
  grid->addWidget(secondPrompt_, 1, 0);
  grid->addWidget(thirdValue_, 1, 0);  // in ZL's place; the two are never shown together
  grid->addWidget(secondValue_, 1, 1);
  auto* outer = new QVBoxLayout(this);
  outer->setContentsMargins(4, 4, 4, 4);
  outer->addWidget(frame_);

  // Design state: the first row only.
  secondValue_->hide();
  secondPrompt_->hide();
  thirdValue_->hide();

  // The check runs on every change of a box's text: typing, a choice from the list, the program.
  connect(firstValue_, &QComboBox::editTextChanged, this, [this] { CheckBox(firstValue_, Box::First); });
  connect(secondValue_, &QComboBox::editTextChanged, this, [this] { CheckBox(secondValue_, Box::Second); });
  connect(thirdValue_, &QComboBox::editTextChanged, this, [this] { CheckBox(thirdValue_, Box::Third); });

  // The same size whichever row is shown.
  const int w = qMax(200, sizeHint().width());
  const int h = qMax(40, firstPrompt_->sizeHint().height() + firstValue_->sizeHint().height() + 28);
  setFixedSize(w, qMax(h, sizeHint().height()));
}

void SetData::CheckBox(QComboBox* box, Box which) {
  if (checking_) return;  // our own rewrite of the text below
  const QString typed = box->currentText();
  // Not a number: the text becomes its leading number ("3abc" -> "3"; none -> "0").
  QString text = NumberText::AsNumber(typed);
  // The first value is always positive, the second too unless it holds an offset.
  const bool positive = which == Box::First || (which == Box::Second && !offsets_);
  if (positive && !(NumberText::LeadingNumber(text) > 0)) text = QStringLiteral("5");
  if (text == typed) return;
  checking_ = true;
  box->setEditText(text);
  checking_ = false;
}

void SetData::ToolChosen(const ParameterPrompts& prompts) {
  offsets_ = prompts.offsets;
  if (prompts.shown) {
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

  firstPrompt_->show();
  firstValue_->show();
  secondValue_->hide();
  secondPrompt_->hide();
  thirdValue_->hide();

  if (!prompts.first.isEmpty()) {
    firstPrompt_->setText(prompts.first);
    firstValue_->setEditText(prompts.firstDefault);
  }
  if (!prompts.second.isEmpty()) {
    secondPrompt_->setText(prompts.second);
    secondValue_->setEditText(prompts.secondDefault);
    secondPrompt_->show();
    secondValue_->show();
  }
  if (prompts.offsets) {
    secondValue_->setEditText(QStringLiteral("0"));
    thirdValue_->setEditText(QStringLiteral("0"));
    secondValue_->show();
    thirdValue_->show();
  }
}

ParameterValues SetData::Values() const {
  if (!open_) return ParameterValues{};
  return ParameterValues{NumberText::LeadingNumber(firstValue_->currentText()),
                         NumberText::LeadingNumber(secondValue_->currentText()),
                         NumberText::LeadingNumber(thirdValue_->currentText())};
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
