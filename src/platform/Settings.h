// The per-user settings store: text values under
// HKEY_CURRENT_USER\Software\VB and VBA Program Settings\<application>\<section>, where the
// program this one replaces kept them, so existing settings carry over.
#pragma once
#include <string>

namespace tessary {

constexpr wchar_t kSettingsSection[] = L"Program Configuration";

std::wstring SettingsKeyPath(const std::wstring& application, const std::wstring& section);
// The stored text, or defaultValue when the key (or the section) does not exist.
std::wstring GetSetting(const std::wstring& application, const std::wstring& section, const std::wstring& key,
                        const std::wstring& defaultValue);
// Creates section and key as needed; returns false when the store cannot be written.
bool SaveSetting(const std::wstring& application, const std::wstring& section, const std::wstring& key,
                 const std::wstring& value);

} // namespace tessary
