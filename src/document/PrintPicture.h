#pragma once
#include <QImage>
#include <QRect>
#include <QSizeF>

class QPagedPaintDevice;

// Pictures as they leave the program for paper: the part with ink, and the picture at the scale of
// its high-resolution companion with the resolution that prints it at its true size (96 picture
// pixels to the inch).

// The margin kept around the ink when white edges are cut away, in picture pixels.
inline constexpr int kTrimMargin = 4;

// The rectangle of `picture` holding every pixel that is not white, grown by `margin` on each side
// and clipped to the picture; the whole picture when it has no ink.
QRect InkRect(const QImage& picture, int margin = kTrimMargin);

// Dots per metre that place a picture of k dots per picture pixel at 96 picture pixels to the inch
// (3780 for k = 1, 15118 for k = 4).
int DotsPerMetreAt(int k);

// The print size of `pixels` at `dotsPerMetre`, in centimetres.
QSizeF PrintSizeCm(QSize pixels, int dotsPerMetre);

// The picture that goes to paper: the companion's k-times part over the 1× rectangle `r` when
// there is a companion (k ≥ 2), else the 1× rectangle itself.
struct PrintPicture {
  QImage image;
  int scale = 1;  // companion pixels per picture pixel
  int DotsPerMetre() const { return DotsPerMetreAt(scale); }
};
PrintPicture PrintPictureOf(const QImage& picture, const QImage& companion, int k, const QRect& r);

// Paints `picture` on a page of `device` (a printer, a PDF file) at its true size, 96 picture
// pixels to the inch, centred on the paper; a picture larger than the printable area is made
// smaller to fit it, keeping its proportions. Returns false when the page cannot be painted (a PDF
// file that cannot be written, a printer that refuses the job).
//
// A print preview records the page (the device's paint engine is a picture recorder) and shows it
// reduced without smoothing, which drops whole rows and columns of a fine picture: there the
// picture is drawn already reduced, with smoothing, to `previewScale`, the screen pixels per device
// pixel the preview shows the page at (the screen's own scale at 100 % when not known). What is
// printed is the picture itself.
bool PaintOnPage(QPagedPaintDevice& device, const PrintPicture& picture, double previewScale = 0);

// `image` reduced with smoothing for a preview that shows `target` (device pixels) at `scale`
// screen pixels per device pixel: a little smaller than the preview shows it, so that the preview
// only ever enlarges it; `image` itself when it is no larger than that.
QImage ReducedForPreview(const QImage& image, QSizeF target, double scale);
