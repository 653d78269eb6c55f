#include "catalog/FolderWatch.h"

namespace tessary {

bool FolderWatch::LastWrite(FILETIME& time) const {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(folder_.c_str(), GetFileExInfoStandard, &data) ||
        !(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return false;
    time = data.ftLastWriteTime;
    return true;
}

void FolderWatch::Arm() {
    // Names (added, removed, renamed files) and sizes and times (a file rewritten in place).
    handle_.reset(FindFirstChangeNotificationW(folder_.c_str(), FALSE,
                                               FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_SIZE |
                                                   FILE_NOTIFY_CHANGE_LAST_WRITE));
}

void FolderWatch::Prepare(const std::wstring& folder) {
    Stop();
    folder_ = folder;
    if (folder_.empty() || !LastWrite(lastWrite_))
        folder_.clear();
}

void FolderWatch::Resume() {
    if (Watching())
        Arm();
}

void FolderWatch::Stop() {
    handle_.reset();
    folder_.clear();
    debounce.Clear();
}

FolderWatch::Change FolderWatch::Look() {
    if (!Watching())
        return Change::None;
    bool changed = handle_ && WaitForSingleObject(handle_.get(), 0) == WAIT_OBJECT_0;
    handle_.reset();
    FILETIME now{};
    if (!LastWrite(now))
        return Change::Gone;
    if (CompareFileTime(&now, &lastWrite_) != 0) {
        lastWrite_ = now;
        changed = true;
    }
    Arm();
    return changed ? Change::Changed : Change::None;
}

} // namespace tessary
