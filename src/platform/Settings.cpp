#include "platform/Settings.h"
#include "platform/Handles.h"
#include "platform/Registry.h"

namespace tessary {

std::wstring SettingsKeyPath(const std::wstring& application, const std::wstring& section) {
    return L"Software\\VB and VBA Program Settings\\" + application + L"\\" + section;
}

std::wstring GetSetting(const std::wstring& application, const std::wstring& section, const std::wstring& key,
                        const std::wstring& defaultValue) {
    UniqueRegKey hkey;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, SettingsKeyPath(application, section).c_str(), 0, KEY_QUERY_VALUE,
                      hkey.put()) != ERROR_SUCCESS)
        return defaultValue;
    std::wstring value;
    DWORD type = 0;
    if (!QueryRegText(hkey.get(), key, value, &type) || (type != REG_SZ && type != REG_EXPAND_SZ))
        return defaultValue;
    if (const size_t nul = value.find(L'\0'); nul != std::wstring::npos)
        value.resize(nul);
    return value;
}

bool SaveSetting(const std::wstring& application, const std::wstring& section, const std::wstring& key,
                 const std::wstring& value) {
    UniqueRegKey hkey;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, SettingsKeyPath(application, section).c_str(), 0, nullptr, 0,
                        KEY_SET_VALUE, nullptr, hkey.put(), nullptr) != ERROR_SUCCESS)
        return false;
    return RegSetValueExW(hkey.get(), key.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                          static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

} // namespace tessary
