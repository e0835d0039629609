// Quillmere: a drawing program for physics teachers' diagrams.
#include <QApplication>

#include "workspace/ImageDraw.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Quillmere"));
  QApplication::setApplicationDisplayName(QString());
  ImageDraw window;
  window.show();
  return app.exec();
}
