#pragma once

// How a picture drawn onto the canvas combines with what is there: Copy replaces the pixels; And
// keeps destination AND source, so that white source pixels leave the canvas unchanged.
enum class RasterOp { Copy, And };
