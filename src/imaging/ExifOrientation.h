// The EXIF Orientation tag: how a camera or phone says its picture must be turned to stand
// upright. Read from untrusted bytes: every offset is checked against the data, and anything
// damaged, missing or out of range reads as 1 (as stored), so a broken EXIF block never keeps a
// picture from showing.
#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>

namespace tessary {

// Enough of a file's start to find the orientation of nearly every JPEG (the Exif block comes
// first and holds at most 64 KB) and of WebP files whose EXIF chunk sits before the picture.
inline constexpr std::size_t kOrientationProbeBytes = 128 * 1024;

// The Orientation of a TIFF structure: "II" or "MM", 42, then the first directory (IFD0), which
// alone holds the picture's own orientation. 1 to 8; 1 when absent or unreadable.
int OrientationFromTiff(const unsigned char* data, std::size_t size);

// The same in two steps, for a TIFF file whose directory lies far from its start: where IFD0 is
// (from the 8-byte header), then the orientation from the directory's bytes read from there.
struct TiffDirectory {
    std::uint32_t offset = 0;
    bool littleEndian = true;
};
std::optional<TiffDirectory> FirstTiffDirectory(const unsigned char* data, std::size_t size);
// A directory holds at most 65535 entries of 12 bytes after its 2-byte count.
inline constexpr std::size_t kMaxTiffDirectoryBytes = 2 + 65535 * 12;
int OrientationFromTiffDirectory(const unsigned char* data, std::size_t size, bool littleEndian);

// The same from an APP1 Exif payload ("Exif", two NULs, then the TIFF structure). The payload of
// a WebP EXIF chunk is taken with or without that prefix.
int OrientationFromExif(const unsigned char* data, std::size_t size);

// The orientation of a JPEG stream, from the first APP1 Exif segment among the markers before the
// picture data. data may hold only the start of the file.
int OrientationFromJpeg(const unsigned char* data, std::size_t size);

// The orientation of a WebP file, from its EXIF chunk. data may hold only the start of the file.
int OrientationFromWebp(const unsigned char* data, std::size_t size);

// The orientation of any picture file by its content (JPEG, TIFF, WebP); 1 for other formats.
int OrientationFromFileStart(const unsigned char* data, std::size_t size);

// Orientations 5 to 8 turn the picture a quarter: the displayed width is the stored height.
bool OrientationSwapsSides(int orientation);

} // namespace tessary
