#include "dialogs/PreviewScale.h"

#include <QApplication>
#include <QEvent>
#include <QGraphicsView>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QTimer>
#include <cmath>

namespace {

QPrintPreviewWidget* PreviewOf(const QPrinter& printer) {
  for (QWidget* w : QApplication::topLevelWidgets())
    if (auto* dialog = qobject_cast<QPrintPreviewDialog*>(w); dialog && dialog->printer() == &printer)
      return dialog->findChild<QPrintPreviewWidget*>();
  return nullptr;
}

// The preview's pages lie in its view's scene in printer pixels; the view scales them to the
// screen, which has devicePixelRatio pixels per unit.
double ShownScale(const QPrintPreviewWidget& preview) {
  const QGraphicsView* view = preview.findChild<QGraphicsView*>();
  if (!view || !view->isVisible()) return 0;
  const QTransform t = view->transform();
  return std::hypot(t.m11(), t.m12()) * view->viewport()->devicePixelRatioF();
}

// Asks the preview for its pages again when it paints them at another scale than they were drawn
// for: Qt's preview scales a recorded page without smoothing, and draws it once, before it shows.
class ScaleWatch : public QObject {
 public:
  static constexpr const char* kName = "PreviewScaleWatch";
  explicit ScaleWatch(QPrintPreviewWidget* preview) : QObject(preview), preview_(preview) {
    setObjectName(QLatin1String(kName));
    if (auto* view = preview->findChild<QGraphicsView*>()) view->viewport()->installEventFilter(this);
  }
  double drawnFor = 0;  // the scale the pages were last drawn for (0: before the preview showed)

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() != QEvent::Paint || pending_) return false;
    const double now = ShownScale(*preview_);
    // Within half a per cent the pages drawn stay (they are drawn a per cent under their scale).
    if (now > 0 && std::abs(now - drawnFor) > 0.005 * now) {
      pending_ = true;
      QTimer::singleShot(0, this, [this] {
        pending_ = false;
        preview_->updatePreview();
      });
    }
    return false;
  }

 private:
  QPrintPreviewWidget* preview_;
  bool pending_ = false;
};

}  // namespace

double PreviewScaleOf(const QPrinter& printer) {
  QPrintPreviewWidget* preview = PreviewOf(printer);
  if (!preview) return 0;
  // The watch is known by its name (it is the preview's child of that name, and only ours).
  auto* watch = static_cast<ScaleWatch*>(
      preview->findChild<QObject*>(QLatin1String(ScaleWatch::kName), Qt::FindDirectChildrenOnly));
  if (!watch) watch = new ScaleWatch(preview);
  watch->drawnFor = ShownScale(*preview);
  return watch->drawnFor;
}
