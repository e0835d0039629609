#pragma once
// Helpers for the editing tests: a known picture opened in the window, selections made and moved
// through the real window, keys on the canvas, and the expected pictures built pixel by pixel.
#include <gtest/gtest.h>

#include <QKeyEvent>
#include <QTest>
#include <QtEndian>

#include "support/WindowDriver.h"

namespace editing {

// The selected rectangle of most editing tests.
inline const QRect kSel(30, 20, 60, 50);

// A 600 x 220 picture with no symmetry inside any rectangle: a gradient with a black "L" and
// coloured blocks. `seed` shifts the gradient.
inline QImage Pattern(int w = 600, int h = 220, int seed = 0) {
  QImage img(w, h, QImage::Format_RGB32);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      img.setPixel(x, y, qRgb((x * 3 + seed) & 0xff, (y * 5 + seed) & 0xff, ((x + 2 * y) * 7) & 0xff));
  return img;
}

// A white picture with a few dark marks at known places.
inline QImage Marks(int w = 600, int h = 220) {
  QImage img(w, h, QImage::Format_RGB32);
  img.fill(kWhite);
  return img;
}

// Makes a selection of `r` with the selection tool, dragging from its top-left corner.
inline void Select(WindowDriver& d, QRect r) {
  if (d.State().ToolId != ToolId::Selection) d.ClickTool(1);
  d.Drag(r.topLeft(), r.topLeft() + QPoint(r.width(), r.height()));
}

// A window showing `picture` (opened as a user would) with `selected` chosen by the selection tool.
struct SelectedWindow : WindowDriver {
  explicit SelectedWindow(const QImage& picture, QRect selected = kSel) {
    OpenPicture(picture);
    Select(*this, selected);
  }
};

// Drags the selection frame by (dx, dy), pressing at `at` inside the frame.
inline void MoveSelection(WindowDriver& d, int dx, int dy, QPointF at = {2, 2}) {
  d.FramePress(at);
  d.FrameMove(at + QPointF(dx / 2.0, dy / 2.0));
  d.FrameMove(at + QPointF(dx, dy));
  d.FrameRelease(at + QPointF(dx, dy));
}

// Keys on the canvas, as the window system delivers them.
inline void KeyDown(WindowDriver& d, int key, Qt::KeyboardModifiers mods = Qt::NoModifier, QString text = {},
                    bool autoRepeat = false) {
  QKeyEvent e(QEvent::KeyPress, key, mods, text, autoRepeat);
  QApplication::sendEvent(d.Surface(), &e);
}
inline void KeyUp(WindowDriver& d, int key, Qt::KeyboardModifiers mods = Qt::NoModifier, bool autoRepeat = false) {
  QKeyEvent e(QEvent::KeyRelease, key, mods, QString(), autoRepeat);
  QApplication::sendEvent(d.Surface(), &e);
}

// ---- Expected pictures ----

// `picture` with the box `r` (all its pixels, none beyond) cleared to white.
inline QImage Cleared(QImage picture, QRect r) {
  r &= picture.rect();
  for (int y = r.top(); y <= r.bottom(); ++y)
    for (int x = r.left(); x <= r.right(); ++x) picture.setPixel(x, y, kWhite);
  return picture;
}

// `picture` with `src` combined at `at` by AND (clipped to the picture).
inline QImage AndAt(QImage picture, const QImage& src, QPoint at) {
  for (int y = 0; y < src.height(); ++y)
    for (int x = 0; x < src.width(); ++x) {
      const int px = at.x() + x, py = at.y() + y;
      if (!picture.rect().contains(px, py)) continue;
      picture.setPixel(px, py, (picture.pixel(px, py) & src.pixel(x, y)) | 0xff000000u);
    }
  return picture;
}

// The picture with the selection `r` lifted off (its place white) and dropped at `to` by AND.
inline QImage MovedTo(const QImage& picture, QRect r, QPoint to) {
  return AndAt(Cleared(picture, r), picture.copy(r), to);
}

// The number of pixels in which two same-sized pictures differ (for readable failures).
inline int Differences(const QImage& a, const QImage& b) {
  if (a.size() != b.size()) return -1;
  int n = 0;
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x) n += (a.pixel(x, y) | 0xff000000u) != (b.pixel(x, y) | 0xff000000u);
  return n;
}

// A PNG file claiming w x h pixels with no pixel data: enough for a reader to learn its size, and
// no more (a picture too large to paste, without spending the memory).
inline QByteArray PngHeaderOnly(quint32 w, quint32 h) {
  auto crc32 = [](const QByteArray& bytes) {
    uint32_t crc = 0xffffffffu;
    for (char ch : bytes) {
      crc ^= static_cast<uint8_t>(ch);
      for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xedb88320u & (0u - (crc & 1u)));
    }
    return ~crc;
  };
  QByteArray png("\x89PNG\r\n\x1a\n", 8);
  auto chunk = [&](const char* type, const QByteArray& payload) {
    char be[4];
    qToBigEndian(static_cast<quint32>(payload.size()), be);
    png.append(be, 4);
    const QByteArray body = QByteArray(type) + payload;
    png.append(body);
    qToBigEndian(crc32(body), be);
    png.append(be, 4);
  };
  QByteArray ihdr(13, '\0');
  qToBigEndian(w, ihdr.data());
  qToBigEndian(h, ihdr.data() + 4);
  ihdr[8] = 8;  // 8 bits per sample, RGB
  ihdr[9] = 2;
  chunk("IHDR", ihdr);
  chunk("IDAT", {});
  chunk("IEND", {});
  return png;
}

}  // namespace editing
