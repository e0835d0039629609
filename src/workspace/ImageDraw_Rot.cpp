// Flip and rotation of the floating selection.
#include "workspace/ImageDraw.h"

void ImageDraw::SetRotateMenus(bool enabled) {
  for (QAction* a : {Menu_Rot_Nll, Menu_Rot_Nls, Menu_Rot_Nsl, Menu_Rot_Nss, Menu_Rot_S, Menu_Rot_Sp,
                     Menu_Rot_Sz, Menu_Rot_Z, Menu_Rot_Njs, Menu_Rot_Nlj, Menu_Rot_Nlw, Menu_Rot_Nsw})
    a->setEnabled(enabled);
}

void ImageDraw::SetSelectionCommands(bool enabled) { SetRotateMenus(enabled); }
void ImageDraw::RotateSelection(double) {}
void ImageDraw::RenderSelectionRotation() {}
void ImageDraw::PlaceRotation() {}
void ImageDraw::FlipHorizontal() {}
void ImageDraw::FlipVertical() {}
