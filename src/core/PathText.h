// Path text as the program writes it: backslash-separated Windows paths handled as plain text
// (no file system access), and the ASCII-only case folding that extension tests and sort keys use.
#pragma once
#include <string>
#include <string_view>

namespace tessary {

// The text after the last backslash: "C:\Pics\2004" gives "2004", "C:\" and "abc" give "".
std::wstring LastPathComponent(std::wstring_view path);
// path & "\" unless it already ends with one; "" gives "\".
std::wstring AddTrailingBackslash(std::wstring_view path);
// folder & "\" & name, without doubling the separator after a drive root ("C:\").
std::wstring JoinPath(std::wstring_view folder, std::wstring_view name);

// The text after the last dot of the last component ("C:\a.b\c.JPEG" gives "JPEG"); empty when
// that component has no dot.
std::wstring_view FileExtension(std::wstring_view path);

// A full path split at its last backslash: folder (before it) and file name (after it); a path
// without one is all name.
struct PathParts {
    std::wstring folder, name;
};
PathParts SplitAtLastBackslash(std::wstring_view path);

// Whether text ends with suffix, ASCII letters compared without case.
bool EndsWithNoCase(std::wstring_view text, std::wstring_view suffix);

// ASCII letters only: other characters are left as they are.
wchar_t AsciiLower(wchar_t c);
wchar_t AsciiUpper(wchar_t c);
std::wstring AsciiLower(std::wstring_view text);

} // namespace tessary
