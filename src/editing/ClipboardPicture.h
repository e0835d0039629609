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

// The MIME type under which the clipboard carries our own 1x picture (PNG bytes) beside a picture
// at k times the detail: 粘贴 and drops take it before any other format.
inline constexpr char kOwnPictureType[] = "application/x-quillmere-picture";

// The clipboard's picture, opaque (transparent parts white, so that AND leaves the picture beneath
// them). Our own 1x picture (kOwnPictureType) comes first. Pictures offered by other programs come as encoded files (PNG, BMP, ...): their size is
// read from the header first, so an enormous picture is refused before it is decoded. `size`
// receives the size found (invalid when there is no picture); a null image with a valid size that
// is not pastable means the picture was refused.
QImage ReadPicture(const QClipboard& clipboard, const QMimeData& data, QSize* size);
// The same for picture data dropped from another program.
QImage ReadPicture(const QMimeData& data, QSize* size);

// The clipboard content for a copied picture: the image itself, and PNG and BMP files for other
// programs.
QMimeData* PictureData(const QImage& picture);

// The clipboard content of 复制高清图: `hd` as the image and as a PNG file recording `dotsPerMetre`
// (so that other programs place it at its true size), and `plain`, the same picture at 1x, as a
// PNG file under kOwnPictureType for our own 粘贴. Null when `hd` cannot be encoded.
QMimeData* HighResolutionData(const QImage& hd, int dotsPerMetre, const QImage& plain);

}  // namespace clipboard
