// Shared helpers of the Windows tests: temporary folders, files, generated images, message pumping.
#pragma once
#include "platform/Handles.h"
#include <gtest/gtest.h>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace wintest {

// A fresh folder under the Windows temp directory, removed with everything in it afterwards.
class TempDir {
public:
    explicit TempDir(const std::wstring& hint = L"tessary");
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::wstring& path() const { return path_; }
    std::wstring operator/(const std::wstring& name) const { return path_ + L"\\" + name; }

private:
    std::wstring path_;
};

void RemoveTree(const std::wstring& path);

// Smooth shading with fine texture on top, roughly like a photograph (x, y) -> 0xRRGGBB; a picture
// shifted by part of a pixel shows at its ramps' edges.
std::uint32_t PhotoLike(int x, int y);
// Writes an image file of the given size; the format follows the extension (.jpg .jpeg .jpe .jfif
// .bmp .gif .tif .tiff .webp .png; anything else is written as PNG). Pixels: a gradient unless a
// painter is given (x, y) -> 0xRRGGBB.
bool WriteImage(const std::wstring& path, int width, int height,
                const std::function<std::uint32_t(int, int)>& painter = {});
// The same with alpha: painter (x, y) -> 0xAARRGGBB, kept by PNG and WebP.
bool WriteArgb(const std::wstring& path, int width, int height,
               const std::function<std::uint32_t(int, int)>& painter);
// A picture of one colour (0xRRGGBB).
bool WriteFlat(const std::wstring& path, int width, int height, std::uint32_t rgb);
bool WriteTextFile(const std::wstring& path, const std::string& content);
// The file's bytes; empty when it cannot be read.
std::string ReadBytes(const std::wstring& path);
bool FileExists(const std::wstring& path);
// A REG_SZ value under HKEY_CURRENT_USER as stored, or nothing when it does not exist.
std::optional<std::wstring> UserRegistryText(const std::wstring& subkey, const std::wstring& name);
// The names of the files (not folders) in dir, sorted.
std::vector<std::wstring> FileNamesIn(const std::wstring& dir);
std::uint64_t FileLength(const std::wstring& path);
// Makes the file exactly size bytes long (zeros appended; sparse where the file system can).
bool SetFileLength(const std::wstring& path, std::uint64_t size);

// A real JPEG whose frame header claims another size; a PNG signature and IHDR (with its CRC)
// claiming a size, and nothing after them.
std::string JpegClaiming(int width, int height);
std::string PngClaiming(std::uint32_t width, std::uint32_t height);
// A PNG chunk: the data's length, the type, the data and the CRC.
std::string PngChunk(const std::string& type, const std::string& data);
// The process's peak working set in bytes.
std::uint64_t PeakMemory();

// A picture file's pixels (0xAARRGGBB) as GDI+ decodes it; empty when it cannot be read.
struct Picture {
    int width = 0, height = 0;
    std::vector<std::uint32_t> pixels;
    std::uint32_t at(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
    std::pair<int, int> size() const { return {width, height}; }
};
Picture ReadPicture(const std::wstring& path);
// Holds Shift down (as SendInput does) or lets it go, and lets the messages run.
void HoldShift(bool down);

// Runs action once, the first time messages run after the given time (a load lets them run at its
// checkpoints, a modal dialog in its loop).
void AtNextMessages(std::function<void()> action, int milliseconds = 1);
// Lets messages run for the given time.
void Pump(int milliseconds = 50);
// Lets messages run until the condition holds or the time is over; returns the condition.
bool PumpUntil(const std::function<bool()>& condition, int timeoutMs = 5000);

std::wstring WindowText(HWND hwnd);
// Outer window rectangle in screen pixels.
RECT OuterRect(HWND hwnd);

// A plain hidden top-level window with the given procedure, its class registered on first use.
HWND CreateHostWindow(const wchar_t* className, WNDPROC proc, int x, int y, int width, int height);
std::string Narrow(const std::wstring& s);
// Every channel of two 0xAARRGGBB pixels within tolerance of each other.
bool Near(std::uint32_t a, std::uint32_t b, int tolerance);

} // namespace wintest
