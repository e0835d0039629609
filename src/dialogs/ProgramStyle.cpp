#include "dialogs/ProgramStyle.h"

#include <QApplication>
#include <QIconEngine>
#include <QPainter>
#include <QPixmap>
#include <QProxyStyle>
#include <algorithm>

namespace {

// ">>" in the buttons' text colour, centred in the square that fits: pointing down for a vertical
// toolbar, left in a right-to-left window.
class OverflowArrow : public QIconEngine {
 public:
  explicit OverflowArrow(bool vertical) : vertical_(vertical) {}
  void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State) override {
    const qreal s = std::min(rect.width(), rect.height());
    if (s <= 0) return;
    const QPalette::ColorGroup group = mode == QIcon::Disabled ? QPalette::Disabled : QPalette::Active;
    QPen pen(QGuiApplication::palette().color(group, QPalette::ButtonText), std::max(1.0, s / 11));
    pen.setJoinStyle(Qt::MiterJoin);
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    painter->setPen(pen);
    painter->translate(QRectF(rect).center());
    if (vertical_)
      painter->rotate(90);
    else if (QGuiApplication::isRightToLeft())
      painter->scale(-1, 1);
    for (const qreal x : {-0.22 * s, 0.06 * s}) {
      const QPointF chevron[3] = {{x, -0.22 * s}, {x + 0.16 * s, 0}, {x, 0.22 * s}};
      painter->drawPolyline(chevron, 3);
    }
    painter->restore();
  }
  QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
    QPixmap out(size);
    if (out.isNull()) return out;
    out.fill(Qt::transparent);
    QPainter painter(&out);
    paint(&painter, QRect(QPoint(0, 0), size), mode, state);
    return out;
  }
  QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override { return size; }
  bool isNull() override { return false; }
  QString key() const override { return QStringLiteral("OverflowArrow"); }
  QIconEngine* clone() const override { return new OverflowArrow(*this); }

 private:
  bool vertical_;
};

class ProgramStyle : public QProxyStyle {
 public:
  QIcon standardIcon(StandardPixmap which, const QStyleOption* option, const QWidget* widget) const override {
    if (which == SP_ToolBarHorizontalExtensionButton || which == SP_ToolBarVerticalExtensionButton)
      return QIcon(new OverflowArrow(which == SP_ToolBarVerticalExtensionButton));
    return QProxyStyle::standardIcon(which, option, widget);
  }
};

}  // namespace

void InstallProgramStyle() { QApplication::setStyle(new ProgramStyle); }
