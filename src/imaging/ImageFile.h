// File input and output for the codecs: whole-file reads into reused buffers, and writes that
// never leave a truncated file behind (written beside the target, then renamed over it).
#pragma once
#include "imaging/ImageHeader.h"
#include "platform/Handles.h"
#include <cstddef>
#include <memory>
#include <string>

namespace tessary {

// A buffer that only ever grows, and does not initialise what it allocates: the codecs reuse one
// across many files, and touching fresh memory is what costs (tens of ms for a photo's worth).
template <typename T> class GrowBuffer {
public:
    // Room for at least count elements; the contents are unspecified afterwards.
    T* Ensure(std::size_t count) {
        if (count > capacity_) {
            data_.reset();
            data_ = std::make_unique_for_overwrite<T[]>(count);
            capacity_ = count;
        }
        return data_.get();
    }
    void Release() {
        data_.reset();
        capacity_ = 0;
    }
    T* data() const { return data_.get(); }
    std::size_t capacity() const { return capacity_; }

private:
    std::unique_ptr<T[]> data_;
    std::size_t capacity_ = 0;
};

// Opens a file to be read from its start to its end (long paths too; others may go on reading,
// writing or deleting it meanwhile).
UniqueFile OpenForReading(const std::wstring& path);

// Reads the whole file into buffer; size receives its length. False when it cannot be opened or
// read, or when it is longer than maxSize.
bool ReadWholeFile(const std::wstring& path, GrowBuffer<unsigned char>& buffer, std::size_t& size,
                   std::size_t maxSize);

// Whether a file (not a folder) is at the path: a picture that cannot be read is told apart from
// one that is gone.
bool PathExists(const std::wstring& path);

// Reads up to count bytes from the start of the file; got receives how many were read.
bool ReadFileStart(const std::wstring& path, unsigned char* dest, std::size_t count, std::size_t& got);

// The EXIF orientation (1 to 8) of a JPEG, TIFF or WebP file, read from its start (and, for a
// TIFF, its first directory wherever it lies); 1 for anything else or anything unreadable.
int FileOrientation(const std::wstring& path);
// A TIFF file's format and size, read from its first directory wherever it lies.
ImageHeader ProbeTiffFile(const std::wstring& path);

// A new, empty file with a unique name in the target's folder, deleted again on destruction
// unless CommitTo renamed it over the target.
class TempFileBeside {
public:
    explicit TempFileBeside(const std::wstring& target);
    ~TempFileBeside();
    TempFileBeside(const TempFileBeside&) = delete;
    TempFileBeside& operator=(const TempFileBeside&) = delete;

    bool ok() const { return !path_.empty(); }
    const std::wstring& path() const { return path_; }
    // Replaces the temporary file's contents.
    bool Write(const void* data, std::size_t size);
    // Renames the temporary file over the target (replacing an existing file).
    bool Commit();

private:
    std::wstring target_;
    std::wstring path_;
};

// Writes data as the complete new content of target: on any failure the target is left as it was.
bool WriteFileReplacing(const std::wstring& target, const void* data, std::size_t size);
// Writes data as path's whole content in place, with a third of WriteFileReplacing's file
// operations (each looks through the whole folder under Wine, which tells in a folder of
// thousands). A failed write removes the file: only for files whose absence is safe.
bool WriteFileInPlace(const std::wstring& path, const void* data, std::size_t size);

} // namespace tessary
