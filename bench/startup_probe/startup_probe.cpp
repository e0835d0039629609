// Start-up probe: builds either the program's main window exactly as main() does (--ours) or a
// minimal main window with one menu and one toolbar (--minimal; --minimal-sized gives it the main
// window's start-up size, 980 x 660, to tell the cost of the size from the cost of the contents),
// and reports, in one line, how long
// after launch the window's first paint came, how long until that first frame was finished, and
// the peak resident memory at that moment. Then it exits at once, without tearing anything down.
//
// Usage: startup_probe --ours|--minimal|--minimal-sized <launch time: CLOCK_REALTIME nanoseconds>
// Output: first_paint_ms <ms> frame_done_ms <ms> peak_rss_kb <kB> app_ms <ms> built_ms <ms> shown_ms <ms>
// (the last three: QApplication made, window built, show() returned; all from launch), then for
// --ours each phase of building the window as it ended: phase:<name> <ms from launch> and
// rss:<name> <peak kB then>.
#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <sys/resource.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <memory>
#include <string>
#include <vector>

#include "dialogs/ChineseInterface.h"
#include "dialogs/ProgramStyle.h"
#include "workspace/ImageDraw.h"
#include "workspace/StartWorkspace.h"

namespace {

long long launchNs = 0;
double firstPaintMs = -1;
double appMs = -1, builtMs = -1, shownMs = -1;
struct Phase {
  const char* name;
  double ms;
  long rssKb;
};
std::vector<Phase> phases;

long long NowNs() {
  timespec ts{};
  clock_gettime(CLOCK_REALTIME, &ts);
  return static_cast<long long>(ts.tv_sec) * 1000000000LL + ts.tv_nsec;
}

double SinceLaunchMs() { return static_cast<double>(NowNs() - launchNs) / 1e6; }

long PeakRssKb() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

// Notes the window's first paint event; the frame is finished when the event loop comes back
// after painting every child and flushing the backing store.
class FirstPaint : public QObject {
 public:
  using QObject::QObject;
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint && firstPaintMs < 0) {
      firstPaintMs = SinceLaunchMs();
      watched->removeEventFilter(this);
      QTimer::singleShot(0, [] {
        const double frameDoneMs = SinceLaunchMs();
        std::printf("first_paint_ms %.3f frame_done_ms %.3f peak_rss_kb %ld app_ms %.3f built_ms %.3f shown_ms %.3f",
                    firstPaintMs, frameDoneMs, PeakRssKb(), appMs, builtMs, shownMs);
        for (const Phase& p : phases) std::printf(" phase:%s %.3f rss:%s %ld", p.name, p.ms, p.name, p.rssKb);
        std::printf("\n");
        std::fflush(stdout);
        std::_Exit(0);
      });
    }
    return false;
  }
};

// The yardstick: a main window with one menu of a few commands and the same commands on a toolbar.
std::unique_ptr<QMainWindow> MinimalWindow() {
  auto window = std::make_unique<QMainWindow>();
  window->setWindowTitle(QStringLiteral("※Minimal※"));
  QMenu* menu = window->menuBar()->addMenu(QStringLiteral("文件(&F)"));
  QToolBar* bar = window->addToolBar(QStringLiteral("工具栏"));
  const struct {
    const char* text;
    QStyle::StandardPixmap icon;
  } commands[] = {{"新建", QStyle::SP_FileIcon},
                  {"打开", QStyle::SP_DirOpenIcon},
                  {"保存", QStyle::SP_DialogSaveButton},
                  {"退出", QStyle::SP_DialogCloseButton}};
  for (const auto& c : commands) {
    QAction* a = menu->addAction(window->style()->standardIcon(c.icon), QString::fromUtf8(c.text));
    bar->addAction(a);
  }
  window->setCentralWidget(new QLabel(QStringLiteral("图像"), window.get()));
  return window;
}

}  // namespace

int main(int argc, char** argv) {
  const bool sized = argc == 3 && std::strcmp(argv[1], "--minimal-sized") == 0;
  if (argc != 3 || (std::strcmp(argv[1], "--ours") != 0 && std::strcmp(argv[1], "--minimal") != 0 && !sized)) {
    std::fprintf(stderr, "usage: %s --ours|--minimal|--minimal-sized <launch time in CLOCK_REALTIME nanoseconds>\n",
                 argv[0]);
    return 2;
  }
  launchNs = std::atoll(argv[2]);
  const bool ours = std::strcmp(argv[1], "--ours") == 0;

  QApplication app(argc, argv);
  appMs = SinceLaunchMs();
  FirstPaint probe;
  if (ours) {
    phases.reserve(32);
    ImageDraw::StartupPhaseDone = [](const char* name) { phases.push_back({name, SinceLaunchMs(), PeakRssKb()}); };
    // As main() does.
    QApplication::setApplicationName(QStringLiteral("Quillmere"));
    QApplication::setApplicationDisplayName(QString());
    InstallChineseInterface();
    InstallProgramStyle();
    ImageDraw::StartupPhaseDone("interface");
    ImageDraw window;
    builtMs = SinceLaunchMs();
    window.installEventFilter(&probe);
    StartWorkspace(window);
    shownMs = SinceLaunchMs();
    return app.exec();
  }
  auto window = MinimalWindow();
  if (sized) window->resize(980, 660);
  builtMs = SinceLaunchMs();
  window->installEventFilter(&probe);
  window->show();
  shownMs = SinceLaunchMs();
  return app.exec();
}
