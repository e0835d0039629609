#pragma once
#include <QString>
#include <functional>

class ImageDraw;

// The program's start, as main() runs it (and the start-up benchmark with it): shows the window
// and, once its first frame is painted, offers back the unsaved work that instances which are gone
// left in recovery copies, then opens `file`, the file named on the command line (empty: none).
// Nothing of this runs before the first paint. `started` is called when all of it is done.
void StartWorkspace(ImageDraw& window, const QString& file = QString(), std::function<void()> started = {});
