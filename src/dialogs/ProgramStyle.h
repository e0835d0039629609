#pragma once

// The program's look: the platform's own style, with the arrows of the menu bar's and the
// toolbars' overflow buttons (">>") drawn by the program. Qt reads its arrows from image files,
// and reading the first image file loads every image format plugin Qt has (GIF, TIFF, WebP, ...)
// to ask whether it reads PNG: the window's first paint need not wait for that. Call once, after
// the QApplication is made and before any window.
void InstallProgramStyle();
