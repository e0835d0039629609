// Quillmere: a drawing program for physics teachers' diagrams.
//
//   quillmere [FILE]
//
// opens FILE at start-up as 打开文件 would (the desktop's "Open with" passes it). Qt's own options
// (-platform, -style, ...) are taken by Qt; any other option, or more than one file, is refused.
#include <QApplication>
#include <cstdio>

#include "dialogs/ChineseInterface.h"
#include "dialogs/ProgramStyle.h"
#include "workspace/ImageDraw.h"
#include "workspace/StartWorkspace.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Quillmere"));
  QApplication::setApplicationDisplayName(QString());
  // What Qt left of the command line: its own options are gone from argv.
  QStringList files;
  bool optionsEnd = false, refused = false;
  for (int i = 1; i < argc; ++i) {
    const QString a = QString::fromLocal8Bit(argv[i]);
    if (!optionsEnd && a == QLatin1String("--")) {
      optionsEnd = true;
    } else if (!optionsEnd && a.startsWith(QLatin1Char('-')) && a != QLatin1String("-")) {
      refused = true;
    } else {
      files << a;
    }
  }
  if (refused || files.size() > 1) {
    std::fputs("用法：quillmere [图像文件]（一次只能打开一个图像文件）\n", stderr);
    return 2;
  }
  InstallChineseInterface();
  InstallProgramStyle();
  ImageDraw window;
  // After the first paint, so that a question or a message about the file has its window.
  StartWorkspace(window, files.value(0));
  return app.exec();
}
