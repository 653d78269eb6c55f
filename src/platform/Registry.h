// String values of the registry, addressed by a textual key path such as
// "HKEY_CURRENT_USER\Control Panel\Desktop". Keys are never created or deleted.
#pragma once
#include <windows.h>
#include <string>
#include <string_view>

namespace tessary {

// The value's text (trimmed of spaces, cut at its first NUL), or the "N/A" marker when the key or
// value cannot be read. With an empty value name whose key does not open, the path's last
// component is taken as the value name, and valueName receives it. Values of any length are read.
std::wstring ReadRegString(std::wstring_view keyPath, std::wstring& valueName);
// The same for a fixed value name.
std::wstring ReadRegString(std::wstring_view keyPath, std::wstring_view valueName);

// The data of a value under an open key as UTF-16 text, however long, and its type. The value may
// grow between the size query and the read: the read is tried again a few times, then given up.
// False when the value cannot be read.
bool QueryRegText(HKEY key, const std::wstring& valueName, std::wstring& text, DWORD* type = nullptr);

// Writes a string value under an existing key; a malformed path, an unknown root or a key that does
// not exist writes nothing. Failures are not reported.
void WriteRegString(std::wstring_view keyPath, std::wstring_view valueName, std::wstring_view value);

} // namespace tessary
