#include "imaging/FileNames.h"

namespace tessary {

namespace {

bool IsHighSurrogate(wchar_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}

} // namespace

bool IsPlainComponent(std::wstring_view name) {
    if (name.empty() || name.size() > kMaxComponentChars || name == L"." || name == L"..")
        return false;
    for (wchar_t c : name)
        if (c < 0x20 || std::wstring_view(L"\\/:*?\"<>|").find(c) != std::wstring_view::npos)
            return false;
    return true;
}

std::wstring LongPathForm(std::wstring_view path) {
    // Directory creation already fails 12 characters below MAX_PATH (room for an 8.3 name).
    constexpr std::size_t kShortestNeedingIt = 260 - 12;
    if (path.size() < kShortestNeedingIt || path.starts_with(L"\\\\?\\"))
        return std::wstring(path);
    std::wstring result;
    if (path.starts_with(L"\\\\"))
        result = L"\\\\?\\UNC\\" + std::wstring(path.substr(2));
    else if (path.size() >= 3 && path[1] == L':' && (path[2] == L'\\' || path[2] == L'/'))
        result = L"\\\\?\\" + std::wstring(path);
    else
        return std::wstring(path);
    // The extended form is taken literally: "/" is no separator in it.
    for (wchar_t& c : result)
        if (c == L'/')
            c = L'\\';
    return result;
}

std::wstring TempPathBeside(std::wstring_view target, std::wstring_view tag) {
    const std::wstring suffix = L".~" + std::wstring(tag) + L".tmp";
    const std::size_t slash = target.find_last_of(L"\\/");
    const std::size_t nameStart = slash == std::wstring_view::npos ? 0 : slash + 1;
    std::wstring_view name = target.substr(nameStart);
    const std::size_t room = kMaxComponentChars > suffix.size() ? kMaxComponentChars - suffix.size() : 0;
    if (name.size() > room) {
        std::size_t cut = room;
        if (cut > 0 && IsHighSurrogate(name[cut - 1]))
            --cut;
        name = name.substr(0, cut);
    }
    return std::wstring(target.substr(0, nameStart)) + std::wstring(name) + suffix;
}

} // namespace tessary
