#include "imaging/ImageFile.h"
#include "imaging/ExifOrientation.h"
#include "imaging/FileNames.h"
#include "platform/Handles.h"
#include <algorithm>
#include <atomic>
#include <new>
#include <vector>

namespace tessary {

namespace {

// ReadFile and WriteFile move at most a DWORD at a time; stay well below it.
constexpr std::size_t kIoChunk = 64u << 20;

bool ReadExactly(HANDLE file, unsigned char* dest, std::size_t count, std::size_t& got) {
    got = 0;
    while (got < count) {
        DWORD part = static_cast<DWORD>(std::min(count - got, kIoChunk));
        DWORD read = 0;
        if (!ReadFile(file, dest + got, part, &read, nullptr))
            return false;
        if (read == 0)
            break; // end of file
        got += read;
    }
    return true;
}

} // namespace

UniqueFile OpenForReading(const std::wstring& path) {
    return UniqueFile(CreateFileW(LongPathForm(path).c_str(), GENERIC_READ,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
}

bool ReadWholeFile(const std::wstring& path, GrowBuffer<unsigned char>& buffer, std::size_t& size,
                   std::size_t maxSize) {
    size = 0;
    UniqueFile file = OpenForReading(path);
    if (!file)
        return false;
    LARGE_INTEGER length{};
    if (!GetFileSizeEx(file.get(), &length) || length.QuadPart < 0 ||
        static_cast<unsigned long long>(length.QuadPart) > maxSize)
        return false;
    auto want = static_cast<std::size_t>(length.QuadPart);
    unsigned char* dest = buffer.Ensure(std::max<std::size_t>(want, 1));
    std::size_t got = 0;
    if (!ReadExactly(file.get(), dest, want, got))
        return false;
    size = got; // a file that shrank meanwhile is read as far as it goes
    return true;
}

bool PathExists(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(LongPathForm(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool ReadFileStart(const std::wstring& path, unsigned char* dest, std::size_t count, std::size_t& got) {
    got = 0;
    UniqueFile file = OpenForReading(path);
    return file && ReadExactly(file.get(), dest, count, got);
}

int FileOrientation(const std::wstring& path) {
    try {
        std::vector<unsigned char> head(kOrientationProbeBytes);
        std::size_t got = 0;
        UniqueFile file = OpenForReading(path);
        if (!file || !ReadExactly(file.get(), head.data(), head.size(), got))
            return 1;
        const auto ifd0 = FirstTiffDirectory(head.data(), got);
        if (!ifd0 || ifd0->offset + std::size_t{2} <= got)
            return OrientationFromFileStart(head.data(), got);
        // A TIFF whose directory follows the picture data, as most writers put it.
        LARGE_INTEGER at{};
        at.QuadPart = ifd0->offset;
        std::vector<unsigned char> directory(kMaxTiffDirectoryBytes);
        if (!SetFilePointerEx(file.get(), at, nullptr, FILE_BEGIN) ||
            !ReadExactly(file.get(), directory.data(), directory.size(), got))
            return 1;
        return OrientationFromTiffDirectory(directory.data(), got, ifd0->littleEndian);
    } catch (const std::bad_alloc&) {
        return 1;
    }
}

ImageHeader ProbeTiffFile(const std::wstring& path) {
    ImageHeader header;
    try {
        std::vector<unsigned char> head(kImageHeaderBytes);
        std::size_t got = 0;
        UniqueFile file = OpenForReading(path);
        if (!file || !ReadExactly(file.get(), head.data(), head.size(), got))
            return header;
        header = ProbeImageHeader(head.data(), got);
        const auto ifd0 = FirstTiffDirectory(head.data(), got);
        if (header.format != ImageFormat::Tiff || !ifd0)
            return header;
        LARGE_INTEGER at{};
        at.QuadPart = ifd0->offset;
        std::vector<unsigned char> directory(kMaxTiffDirectoryBytes);
        if (SetFilePointerEx(file.get(), at, nullptr, FILE_BEGIN) &&
            ReadExactly(file.get(), directory.data(), directory.size(), got))
            SizeFromTiffDirectory(directory.data(), got, ifd0->littleEndian, header);
    } catch (const std::bad_alloc&) {
    }
    return header;
}

TempFileBeside::TempFileBeside(const std::wstring& target) : target_(target) {
    // target & ".~<process>-<counter>.tmp": unique among processes and calls, and in the same
    // folder as the target so the final rename never crosses volumes.
    static std::atomic<unsigned> counter{0};
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::wstring candidate = LongPathForm(TempPathBeside(target, std::to_wstring(GetCurrentProcessId()) +
                                                                         L"-" + std::to_wstring(++counter)));
        UniqueFile f(CreateFileW(candidate.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                 FILE_ATTRIBUTE_NORMAL, nullptr));
        if (f) {
            path_ = std::move(candidate);
            return;
        }
        DWORD err = GetLastError();
        if (err != ERROR_FILE_EXISTS && err != ERROR_ALREADY_EXISTS)
            return; // folder missing or not writable: no point in other names
    }
}

TempFileBeside::~TempFileBeside() {
    if (!path_.empty())
        DeleteFileW(path_.c_str());
}

namespace {

// data as the whole new content of path, created or emptied first.
bool WriteWholeFile(const std::wstring& path, const void* data, std::size_t size) {
    UniqueFile f(
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!f)
        return false;
    const auto* bytes = static_cast<const unsigned char*>(data);
    std::size_t done = 0;
    while (done < size) {
        DWORD part = static_cast<DWORD>(std::min(size - done, kIoChunk));
        DWORD written = 0;
        if (!WriteFile(f.get(), bytes + done, part, &written, nullptr) || written != part)
            return false;
        done += written;
    }
    return true;
}

} // namespace

bool TempFileBeside::Write(const void* data, std::size_t size) {
    return !path_.empty() && WriteWholeFile(path_, data, size);
}

bool TempFileBeside::Commit() {
    if (path_.empty())
        return false;
    // A read-only file is not to be replaced (Wine's rename would replace it anyway).
    const std::wstring target = LongPathForm(target_);
    DWORD attributes = GetFileAttributesW(target.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
        SetLastError(ERROR_ACCESS_DENIED);
        return false;
    }
    if (!MoveFileExW(path_.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return false;
    path_.clear();
    return true;
}

bool WriteFileReplacing(const std::wstring& target, const void* data, std::size_t size) {
    TempFileBeside temp(target);
    return temp.ok() && temp.Write(data, size) && temp.Commit();
}

bool WriteFileInPlace(const std::wstring& path, const void* data, std::size_t size) {
    if (WriteWholeFile(path, data, size))
        return true;
    DeleteFileW(path.c_str());
    return false;
}

} // namespace tessary
