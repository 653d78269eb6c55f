// GDI+ for the whole program. Its headers use min and max unqualified, which the Windows headers
// stop defining under NOMINMAX: give them the standard ones.
#pragma once
#include <windows.h>
#include <algorithm>
namespace Gdiplus {
using std::max;
using std::min;
} // namespace Gdiplus
#include <gdiplus.h>
