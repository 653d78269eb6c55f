// A monotonic clock for timing the program's own steps (loads, decodes, the message pump's gaps).
#pragma once

namespace tessary {

// Seconds from QueryPerformanceCounter, cheap enough to bracket every step of a load.
double Seconds();

} // namespace tessary
