#include "platform/AppInfo.h"
#include <windows.h>

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
} // namespace

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
