#include "converter/ConvertEngine.h"
#include "imaging/PictureLoader.h"
#include "imaging/PixelFile.h"
#include "imaging/Scaler.h"
#include "platform/Dialogs.h"
#include "platform/Handles.h"
#include <shlwapi.h>
#include <algorithm>
#include <climits>
#include <new>

namespace tessary {

namespace {

ImageFormat EncodingOf(ConvertFormat format) {
    switch (format) {
    case ConvertFormat::Bmp:
        return ImageFormat::Bmp;
    case ConvertFormat::Jpg:
        break;
    case ConvertFormat::Gif:
        return ImageFormat::Gif;
    case ConvertFormat::Png:
        return ImageFormat::Png;
    case ConvertFormat::Webp:
        return ImageFormat::Webp;
    }
    return ImageFormat::Jpeg;
}

std::wstring SystemText(DWORD code) {
    wchar_t* buffer = nullptr;
    const DWORD n = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                       FORMAT_MESSAGE_IGNORE_INSERTS,
                                   nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::wstring text = n && buffer ? std::wstring(buffer, n) : std::wstring();
    if (buffer)
        LocalFree(buffer);
    return text;
}

std::wstring FullPath(const std::wstring& path) {
    const DWORD n = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (n == 0)
        return path;
    std::wstring out(n, L'\0');
    const DWORD got = GetFullPathNameW(path.c_str(), n, out.data(), nullptr);
    out.resize(got < n ? got : 0);
    return out.empty() ? path : out;
}

// The same file under two names: equal full paths ignoring case, or one file behind both (a short
// name, a link).
bool IsSameFile(const std::wstring& a, const std::wstring& b) {
    if (CompareStringOrdinal(FullPath(a).c_str(), -1, FullPath(b).c_str(), -1, TRUE) == CSTR_EQUAL)
        return true;
    auto open = [](const std::wstring& p) {
        return UniqueFile(CreateFileW(p.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    };
    UniqueFile fa = open(a), fb = open(b);
    BY_HANDLE_FILE_INFORMATION ia{}, ib{};
    return fa && fb && GetFileInformationByHandle(fa.get(), &ia) &&
           GetFileInformationByHandle(fb.get(), &ib) && ia.dwVolumeSerialNumber == ib.dwVolumeSerialNumber &&
           ia.nFileIndexHigh == ib.nFileIndexHigh && ia.nFileIndexLow == ib.nFileIndexLow;
}

bool IsFolder(const std::wstring& path) {
    const DWORD a = GetFileAttributesW(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

// The whole picture, upright as its EXIF orientation says.
bool LoadFull(const std::wstring& path, PixelImage& image) {
    try {
        PictureLoader loader;
        LoadedPicture loaded;
        if (!loader.Load(path, INT_MAX, loaded) || loaded.pixels.width < 1 || loaded.pixels.height < 1)
            return false;
        const PixelView& v = loaded.pixels;
        image.width = v.width;
        image.height = v.height;
        image.pixels.resize(static_cast<std::size_t>(v.width) * v.height);
        for (int y = 0; y < v.height; ++y)
            std::copy_n(v.pixels + static_cast<std::ptrdiff_t>(y) * v.stride, v.width,
                        image.pixels.data() + static_cast<std::size_t>(y) * v.width);
        return true;
    } catch (const std::bad_alloc&) {
        image = {};
        return false;
    }
}

SaveOutcome Failed(std::wstring cause) {
    SaveOutcome out;
    out.message = ConversionFailedText(cause);
    out.icon = MB_ICONERROR;
    return out;
}

} // namespace

IntSize OutputSize(const ConvertSettings& settings, IntSize source) {
    if (settings.ResizePercent > 0)
        return PercentSize(source, settings.ResizePercent);
    return {settings.TargetWidth, settings.TargetHeight};
}

PreviewSource::Status PreviewSource::Load(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA info{};
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &info) ||
        (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return Status::Missing;
    const ULONGLONG fileSize = (static_cast<ULONGLONG>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
    if (path == path_ && fileSize == fileSize_ && CompareFileTime(&info.ftLastWriteTime, &written_) == 0 &&
        !canvas_.empty())
        return Status::Ok;
    path_.clear();
    canvas_ = {};
    size_ = {};
    try {
        // A picture at least 600 pixels wide covers any canvas (300 to under 600 wide).
        PictureLoader loader;
        LoadedPicture loaded;
        if (!loader.Load(path, 600, loaded))
            return Status::Unreadable;
        size_ = {loaded.fullWidth, loaded.fullHeight};
        const IntSize canvas = PreviewCanvasSize(size_);
        canvas_.width = canvas.width;
        canvas_.height = canvas.height;
        canvas_.pixels.resize(static_cast<std::size_t>(canvas.width) * canvas.height);
        ScaleScratch scratch;
        const ConstPixelView from(loaded.pixels);
        ScalePixels(from, WholeOf(from), {canvas_.pixels.data(), canvas.width, canvas.height, canvas.width},
                    {0, 0, canvas.width, canvas.height}, ScaleFilter::AreaAverage, scratch);
    } catch (const std::bad_alloc&) {
        canvas_ = {};
        size_ = {};
        return Status::Unreadable;
    }
    path_ = path;
    fileSize_ = fileSize;
    written_ = info.ftLastWriteTime;
    return Status::Ok;
}

SaveOutcome SaveConverted(const std::wstring& sourcePath, IntSize knownSourceSize,
                          const ConvertSettings& settings) {
    // The target: a relative name is taken in the source's folder.
    std::wstring target = settings.TargetFileName;
    while (!target.empty() && target.back() == L' ')
        target.pop_back();
    if (target.empty() || target.back() == L'\\' || target.back() == L'/')
        return Failed(NoTargetNameCause());
    if (PathIsRelativeW(target.c_str())) {
        std::wstring folder = sourcePath.substr(0, sourcePath.find_last_of(L"\\/") + 1);
        target = folder + target;
    }
    target = FullPath(target);
    const std::wstring folder = target.substr(0, target.find_last_of(L'\\'));
    if (IsSameFile(target, sourcePath))
        return Failed(TargetIsSourceCause());
    if (IsFolder(target))
        return Failed(TargetIsFolderCause(target));
    if (!IsFolder(folder.size() == 2 ? folder + L"\\" : folder))
        return Failed(FolderMissingCause(folder));

    if (GetFileAttributesW(sourcePath.c_str()) == INVALID_FILE_ATTRIBUTES) {
        SaveOutcome out;
        out.message = SourceUnavailableText(sourcePath);
        out.icon = MB_ICONEXCLAMATION;
        return out;
    }
    // The size is checked before anything is allocated, and again once the source is read (it may
    // have changed on disk meanwhile).
    IntSize output = OutputSize(settings, knownSourceSize);
    if (const OutputSizeCheck check = CheckOutputSize(output); check != OutputSizeCheck::Ok)
        return Failed(OutputSizeCause(output, check));
    if (GetFileAttributesW(target.c_str()) != INVALID_FILE_ATTRIBUTES &&
        Dialogs().ShowMessage(ReplaceTargetText(target), MB_YESNO | MB_ICONEXCLAMATION | MB_DEFBUTTON2,
                              AppTitle()) != IDYES)
        return {};

    PixelImage source;
    if (!LoadFull(sourcePath, source))
        return Failed(SourceUnreadableCause(sourcePath));
    output = OutputSize(settings, {source.width, source.height});
    if (const OutputSizeCheck check = CheckOutputSize(output); check != OutputSizeCheck::Ok)
        return Failed(OutputSizeCause(output, check));

    const ConvertFormat format = settings.TargetFormat;
    PixelImage picture;
    try {
        picture = RenderPicture(std::move(source), output, settings.RotateMode,
                                format == ConvertFormat::Png || format == ConvertFormat::Webp
                                    ? AlphaHandling::Keep
                                    : AlphaHandling::OnWhite);
    } catch (const std::bad_alloc&) {
        return Failed(NotEnoughMemoryCause(TurnedSize(output, settings.RotateMode)));
    }
    if (picture.empty())
        return Failed(NotEnoughMemoryCause(TurnedSize(output, settings.RotateMode)));

    const WriteResult result = WritePixelsAs(picture.pixels.data(), picture.width, picture.height,
                                             EncodingOf(format), settings.JpegQuality, target);
    const wchar_t* mime = RowOf(format).mimeType;
    switch (result.status) {
    case WriteResult::Ok:
        break;
    case WriteResult::NoEncoder:
        return Failed(NoEncoderCause(mime));
    case WriteResult::EncodeFailed:
        return Failed(EncoderFailedCause(mime));
    case WriteResult::WriteFailed:
        if (result.systemError == ERROR_PATH_NOT_FOUND && !IsFolder(folder))
            return Failed(FolderMissingCause(folder));
        return Failed(WriteFailedCause(target, result.systemError, SystemText(result.systemError)));
    case WriteResult::Unreadable:
        return Failed(UnreadableResultCause(target));
    case WriteResult::OutOfMemory:
        return Failed(NotEnoughMemoryCause({picture.width, picture.height}));
    }
    SaveOutcome out;
    out.written = true;
    out.targetPath = target;
    out.message = ConvertedText();
    out.icon = MB_ICONINFORMATION;
    return out;
}

} // namespace tessary
