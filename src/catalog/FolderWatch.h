// Watching the shown folder for pictures added, removed, renamed or rewritten, looked at on a
// timer (no thread): a change notification, and the folder's own last-write time, which every
// added, removed or renamed entry moves. The notification handle is let go and taken again at
// each look and never held during a load: held, it would keep a deleted folder from going away.
#pragma once
#include "catalog/WatchTiming.h"
#include "platform/Handles.h"
#include <string>

namespace tessary {

struct ChangeNotificationTraits {
    using handle_type = HANDLE;
    static HANDLE invalid() { return INVALID_HANDLE_VALUE; }
    static void close(HANDLE h) { FindCloseChangeNotification(h); }
};
using UniqueChangeNotification = UniqueHandle<ChangeNotificationTraits>;

class FolderWatch {
public:
    // Remembers the folder about to be listed and its last-write time, before it is listed; any
    // folder watched before is let go. A folder that does not exist is not watched.
    void Prepare(const std::wstring& folder);
    // Watches the prepared folder again (its load is over). Changes made meanwhile that moved its
    // last-write time are seen at the next look.
    void Resume();
    void Stop();
    bool Watching() const { return !folder_.empty(); }
    const std::wstring& folder() const { return folder_; }

    enum class Change { None, Changed, Gone };
    // What happened since the last look.
    Change Look();

    // The pending changes, taken in once the folder has been quiet for a moment.
    ChangeDebounce debounce;

private:
    bool LastWrite(FILETIME& time) const; // false when the folder is gone
    void Arm();

    UniqueChangeNotification handle_;
    std::wstring folder_;
    FILETIME lastWrite_{};
};

} // namespace tessary
