#include "workspace/StartWorkspace.h"

#include <QEvent>
#include <QTimer>

#include "workspace/ImageDraw.h"

namespace {

// Runs `then` from the event loop once the window has painted a frame: the window's update request
// paints it, and the event loop comes back only after that.
class AfterFirstPaint : public QObject {
 public:
  AfterFirstPaint(QWidget& window, std::function<void()> then) : QObject(&window), then_(std::move(then)) {
    window.installEventFilter(this);
  }
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint || event->type() == QEvent::UpdateRequest) {
      watched->removeEventFilter(this);
      QTimer::singleShot(0, parent(), std::move(then_));
      deleteLater();
    }
    return false;
  }

 private:
  std::function<void()> then_;
};

}  // namespace

void StartWorkspace(ImageDraw& window, const QString& file, std::function<void()> started) {
  new AfterFirstPaint(window, [&window, file, started = std::move(started)] {
    window.OfferRecoveryAndOpen(file);
    if (started) started();
  });
  window.show();
  // A window shown already paints again, so that the same steps follow.
  window.update();
}
