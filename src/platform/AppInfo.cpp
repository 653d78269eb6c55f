#include "platform/AppInfo.h"
#include "platform/Handles.h"
#include <windows.h>
#include <shlobj.h>

namespace tessary {
namespace {
std::wstring ModulePath() {
    std::wstring buf(MAX_PATH, L'\0');
    for (;;) {
        DWORD n = GetModuleFileNameW(nullptr, buf.data(), static_cast<DWORD>(buf.size()));
        if (n < buf.size()) {
            buf.resize(n);
            return buf;
        }
        buf.resize(buf.size() * 2);
    }
}

std::wstring LocalAppDataFolder() {
    PWSTR path = nullptr;
    std::wstring folder;
    if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_LocalAppData, 0, nullptr, &path)) && path)
        folder = path;
    CoTaskMemFree(path); // also after a failure, which may leave a buffer
    return folder;
}

bool CanCreateFileIn(const std::wstring& folder) {
    const std::wstring probe = folder + (folder.back() == L'\\' ? L"" : L"\\") + L"Tessary-write-test.tmp";
    // Deleted again when closed, so a trial leaves nothing behind.
    const UniqueFile file(CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr));
    return static_cast<bool>(file);
}
} // namespace

std::wstring FirstWritableFolder(const std::vector<std::wstring>& candidates) {
    for (const std::wstring& folder : candidates) {
        if (folder.empty())
            continue;
        CreateDirectoryW(folder.c_str(), nullptr); // an existing folder is fine
        if (CanCreateFileIn(folder))
            return folder;
    }
    return {};
}

const std::wstring& DataFolder() {
    static const std::wstring folder = [] {
        const std::wstring local = LocalAppDataFolder();
        return FirstWritableFolder({ProgramFolder(), local.empty() ? local : local + L"\\Tessary"});
    }();
    return folder;
}

const std::wstring& ProgramFolder() {
    static const std::wstring folder = [] {
        std::wstring p = ModulePath();
        size_t slash = p.find_last_of(L"\\/");
        if (slash == std::wstring::npos)
            return std::wstring();
        std::wstring dir = p.substr(0, slash);
        if (dir.size() == 2 && dir[1] == L':')
            dir += L'\\';
        return dir;
    }();
    return folder;
}

const std::wstring& ExeBaseName() {
    static const std::wstring name = [] {
        std::wstring p = ModulePath();
        size_t slash = p.find_last_of(L"\\/");
        std::wstring file = slash == std::wstring::npos ? p : p.substr(slash + 1);
        size_t dot = file.find_last_of(L'.');
        return dot == std::wstring::npos ? file : file.substr(0, dot);
    }();
    return name;
}

} // namespace tessary
