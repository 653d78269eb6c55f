// Working state of the main window that belongs to this subsystem (surfaces, menus, caches).
#pragma once
#include "imaging/PictureLoader.h"
#include "imaging/Scaler.h"
#include "platform/Handles.h"
#include "platform/Surface.h"
#include "wallpaper/RecentWallpapers.h"
#include "wallpaper/WallpaperRules.h"
#include <optional>
#include <cstdint>
#include <vector>

namespace tessary {

struct WallpaperPart {
    // The pictures beside the captions of the two resample buttons (the buttons do not own them).
    UniqueIcon resampleIcons[2];
    // Kept between draws: decoding and scaling one image after another then allocates nothing new.
    PictureLoader loader;
    std::vector<std::uint32_t> pixels;
    ScaleScratch scratch;
    Surface tile;
    Surface capture;
    // Set by the resample commands for the apply they make: what is remembered is the picture
    // resampled, not the bitmap made of it.
    std::optional<RecentWallpaper> resampledFrom;
};

} // namespace tessary
