#pragma once
#include <QFile>
#include <QSize>
#include <QString>
#include <QTemporaryDir>

// The offscreen platform with one screen of `pixels` device pixels (at 96 dpi, a device pixel
// ratio of 1 unless QT_SCALE_FACTOR says otherwise): the value for QT_QPA_PLATFORM. Its
// description is written into `folder`, which must outlive the application's start.
inline QString OffscreenPlatform(const QTemporaryDir& folder, QSize pixels) {
  const QString path = folder.filePath(QStringLiteral("screen-%1x%2.json").arg(pixels.width()).arg(pixels.height()));
  QFile file(path);
  if (!folder.isValid() || !file.open(QIODevice::WriteOnly)) return QStringLiteral("offscreen");
  file.write(QStringLiteral(R"({"synchronousWindowSystemEvents": false, "windowFrameMargins": true,
 "screens": [{"name": "Screen", "x": 0, "y": 0, "width": %1, "height": %2,
              "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})")
                 .arg(pixels.width())
                 .arg(pixels.height())
                 .toUtf8());
  return QStringLiteral("offscreen:configfile=") + path;
}
