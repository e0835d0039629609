#pragma once
#include <QImage>
#include <QSize>

class QClipboard;
class QMimeData;

// Pictures between the floating selection and the system clipboard.
namespace clipboard {

// The largest picture paste accepts: no side over the canvas's largest side, and no more pixels
// than 256 MiB of 32-bit pixels (the bound Qt's own image readers keep to).
inline constexpr qint64 kMaxPastePixelBytes = qint64{256} * 1024 * 1024;
bool PastableSize(QSize s);

// The clipboard's picture, opaque (transparent parts white, so that AND leaves the picture beneath
// them). Pictures offered by other programs come as encoded files (PNG, BMP, ...): their size is
// read from the header first, so an enormous picture is refused before it is decoded. `size`
// receives the size found (invalid when there is no picture); a null image with a valid size that
// is not pastable means the picture was refused.
QImage ReadPicture(const QClipboard& clipboard, const QMimeData& data, QSize* size);
// The same for picture data dropped from another program.
QImage ReadPicture(const QMimeData& data, QSize* size);

// The clipboard content for a copied picture: the image itself, and PNG and BMP files for other
// programs.
QMimeData* PictureData(const QImage& picture);

}  // namespace clipboard
