#include "core/PathText.h"

namespace tessary {

std::wstring LastPathComponent(std::wstring_view path) {
    const auto pos = path.rfind(L'\\');
    if (pos == std::wstring_view::npos)
        return {};
    return std::wstring(path.substr(pos + 1));
}

std::wstring AddTrailingBackslash(std::wstring_view path) {
    std::wstring result(path);
    if (result.empty() || result.back() != L'\\')
        result += L'\\';
    return result;
}

std::wstring JoinPath(std::wstring_view folder, std::wstring_view name) {
    std::wstring path = AddTrailingBackslash(folder);
    path += name;
    return path;
}

std::wstring_view FileExtension(std::wstring_view path) {
    const auto dot = path.rfind(L'.');
    if (dot == std::wstring_view::npos || path.find(L'\\', dot) != std::wstring_view::npos)
        return {};
    return path.substr(dot + 1);
}

PathParts SplitAtLastBackslash(std::wstring_view path) {
    const auto slash = path.rfind(L'\\');
    if (slash == std::wstring_view::npos)
        return {L"", std::wstring(path)};
    return {std::wstring(path.substr(0, slash)), std::wstring(path.substr(slash + 1))};
}

bool EndsWithNoCase(std::wstring_view text, std::wstring_view suffix) {
    if (text.size() < suffix.size())
        return false;
    const std::wstring_view tail = text.substr(text.size() - suffix.size());
    for (std::size_t i = 0; i < suffix.size(); ++i)
        if (AsciiLower(tail[i]) != AsciiLower(suffix[i]))
            return false;
    return true;
}

wchar_t AsciiLower(wchar_t c) {
    return (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c - L'A' + L'a') : c;
}

wchar_t AsciiUpper(wchar_t c) {
    return (c >= L'a' && c <= L'z') ? static_cast<wchar_t>(c - L'a' + L'A') : c;
}

std::wstring AsciiLower(std::wstring_view text) {
    std::wstring out(text);
    for (wchar_t& c : out)
        c = AsciiLower(c);
    return out;
}

} // namespace tessary
