// Working state of the main window that belongs to the image catalog: the decoder and the drawing
// surfaces reused from file to file, the caption and list fonts, what each list entry is sorted
// by, and the figures of the last folder load.
#pragma once
#include "catalog/FolderWatch.h"
#include "catalog/ReducedImage.h"
#include "catalog/SortKeys.h"
#include "catalog/ThumbnailCell.h"
#include "imaging/Scaler.h"
#include "platform/Handles.h"
#include "platform/Surface.h"
#include <cstdint>
#include <vector>

namespace tessary {

// What one folder load did and where its time went (seconds).
struct LoadStats {
    int files = 0;     // image files considered
    int loaded = 0;    // list entries made
    int cacheHits = 0; // thumbnails taken from the cache
    int addedToCache = 0;
    double total = 0;
    DecodeTimes decoding; // decoding (images and cached thumbnails) and reducing to the source
    double cell = 0;      // fitting into the cell, drawing it, handing it to the image list
    double cacheRead = 0; // hit tests and the cache file's keys
    double cacheWrite = 0;
    double list = 0;        // list entries and their texts
    double status = 0;      // the progress text
    double checkpoints = 0; // letting pending messages run, the list drawn there
    double finish = 0;      // summary, sorting, the other status panels, the final drawing
};

struct CatalogPart {
    ImageReducer reducer; // decodes on this thread when a load has no workers
    // Worker threads of a folder load: -1 one per core beyond the first (at least one), 0 none
    // (everything on this thread).
    int loadWorkers = -1;
    ScaleScratch fitScratch;
    Surface buffer;                     // the fitted picture, ThumbSize x ThumbHeight
    int captionHeight = kCaptionHeight; // the caption band of this load's cells
    // The finished cell handed to the image list: a bitmap selected into no DC, as the image list
    // needs, holding a copy of picThumb's pixels.
    UniqueBitmap cellCopy;
    std::uint32_t* cellCopyBits = nullptr;
    CaptionFont captionFont;
    UniqueFont iconModeFont, reportModeFont;
    // Sort values of the list entries, indexed by each entry's value (its position in load order).
    std::vector<SortValues> entries;
    LoadStats lastLoad;
    // A thumbnail size chosen while a load ran, applied when it ends (0: none).
    int pendingThumbSize = 0;
    // The folder shown, watched so the list follows files added, removed and renamed there.
    FolderWatch watch;
};

} // namespace tessary
