// Laying out the preview's tiles: one scaled tile copied to every place the layout names.
#pragma once
#include "imaging/Scaler.h"
#include "wallpaper/PreviewGeometry.h"

namespace tessary {

// Copies the tile to every copy of the layout, cropped at the destination's edges. The tile holds
// the top-left part of one copy (it may be smaller than a copy that reaches past the edges).
void DrawTiles(ConstPixelView tile, PixelView dst, const PreviewCopies& copies);

} // namespace tessary
