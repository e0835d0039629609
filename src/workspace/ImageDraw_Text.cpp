// The text tool on the picture: the text window edits the text, the window draws its preview at
// the clicked point over the backing copy taken at the click, stamps it, or takes it away.
#include "dialogs/TypeTxt.h"
#include "figures/Rounding.h"
#include "workspace/ImageDraw.h"

void ImageDraw::OpenTextWindow(double x, double y) {
  // A second click moves an unstamped text: the backing copy must not hold it.
  if (textWindow_->isVisible()) Picture.Restore(History.Img_Copy);
  History.Snapshot(Picture);
  Picture.Restore(History.Img_Copy);
  State.DragActive = false;
  State.TextPoint = QPoint(RoundHalfEven32(x), RoundHalfEven32(y));
  textWindow_->Open();
  Refresh();
}

void ImageDraw::PreviewText(const QString& text) {
  Picture.Restore(History.Img_Copy);
  Picture.TextOutA(State.TextPoint.x(), State.TextPoint.y(), text);
  Refresh();
}

void ImageDraw::StampText(const QString& text) {
  PreviewText(text);
  if (text.isEmpty()) return;
  // Stamped text is work: it is protected by the save prompt and can be undone.
  State.ImageChanged = true;
  EnableUndo();
}

void ImageDraw::StampTextPreview() {
  if (TextPreviewShowing()) textWindow_->StampNow();
}

bool ImageDraw::TextPreviewShowing() const { return textWindow_ && textWindow_->PreviewShowing(); }

void ImageDraw::RemoveTextPreview() {
  Picture.Restore(History.Img_Copy);
  Refresh();
}
