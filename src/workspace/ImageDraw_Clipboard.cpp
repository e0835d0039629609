// Copy, cut, paste and delete, and keeping Paste in step with the clipboard.
#include "workspace/ImageDraw.h"

void ImageDraw::CopySelection() {}
void ImageDraw::CutSelection() {}
void ImageDraw::PasteClipboard() {}
void ImageDraw::DeleteSelection() {}
void ImageDraw::RefreshPasteCommand() {}
