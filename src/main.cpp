// Quillmere: a drawing program for physics teachers' diagrams.
#include <QApplication>

#include "dialogs/ChineseInterface.h"
#include "workspace/ImageDraw.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Quillmere"));
  QApplication::setApplicationDisplayName(QString());
  InstallChineseInterface();
  ImageDraw window;
  window.show();
  return app.exec();
}
