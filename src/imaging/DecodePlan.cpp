#include "imaging/DecodePlan.h"

namespace tessary {

DecodeMapping ScaledDecodeMapping(int fullWidth, int fullHeight, int scale, int reducedWidth,
                                  int reducedHeight) {
    scale = scale > 0 ? scale : 1;
    return {ScaleRect{0, 0, fullWidth, fullHeight},
            ScaleRect{0, 0, reducedWidth * scale, reducedHeight * scale}};
}

} // namespace tessary
