// Working state of the main window that belongs to this subsystem (surfaces, menus, caches).
#pragma once
#include "imaging/PictureDecoder.h"
#include "imaging/PictureLoader.h"
#include "imaging/Scaler.h"
#include "platform/Handles.h"
#include "platform/Surface.h"
#include "wallpaper/RecentWallpapers.h"
#include "core/Geometry.h"
#include "wallpaper/MonitorChooser.h"
#include "wallpaper/WallpaperRules.h"
#include <optional>
#include <cstdint>
#include <string>
#include <vector>

namespace tessary {

struct WallpaperPart {
    // The pictures beside the captions of the two resample buttons (the buttons do not own them).
    UniqueIcon resampleIcons[2];
    // Kept between draws: decoding and scaling one image after another then allocates nothing new.
    PictureLoader loader;
    // Decodes for the wallpaper's bitmap, the resampled copies and the viewer's sizes.
    PictureDecoder decoder;
    // What the preview shows now (an image in a layout, with overlays), so that a command that
    // would draw the same again leaves it; empty when it shows anything else.
    std::wstring previewKey;
    std::vector<std::uint32_t> pixels;
    ScaleScratch scratch;
    Surface tile;
    Surface capture;
    // Set by the resample commands for the apply they make: what is remembered is the picture
    // resampled, not the bitmap made of it.
    std::optional<RecentWallpaper> resampledFrom;
    // The monitor the preview shows and the wallpaper is set on.
    MonitorChooser chooser;
    // The layout the desktop settings recorded at start-up, and the one the settings remember.
    WallpaperMode recordedMode = WallpaperMode::Centered;
    WallpaperMode rememberedMode = WallpaperMode::Centered;
};

} // namespace tessary
