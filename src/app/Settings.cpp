#include "app/Settings.h"
#include "platform/Handles.h"
#include <vector>

namespace tessary {

std::wstring SettingsKeyPath(const std::wstring& application, const std::wstring& section) {
    return L"Software\\VB and VBA Program Settings\\" + application + L"\\" + section;
}

std::wstring GetSetting(const std::wstring& application, const std::wstring& section, const std::wstring& key,
                        const std::wstring& defaultValue) {
    HKEY raw = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, SettingsKeyPath(application, section).c_str(), 0, KEY_QUERY_VALUE,
                      &raw) != ERROR_SUCCESS)
        return defaultValue;
    UniqueRegKey hkey(raw);
    DWORD type = 0, bytes = 0;
    if (RegQueryValueExW(hkey.get(), key.c_str(), nullptr, &type, nullptr, &bytes) != ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ))
        return defaultValue;
    // Values of any length; the size can change between the two calls, so retry on ERROR_MORE_DATA.
    for (;;) {
        std::vector<wchar_t> buf(bytes / sizeof(wchar_t) + 1, L'\0');
        DWORD size = static_cast<DWORD>(buf.size() * sizeof(wchar_t));
        LONG rc = RegQueryValueExW(hkey.get(), key.c_str(), nullptr, &type,
                                   reinterpret_cast<BYTE*>(buf.data()), &size);
        if (rc == ERROR_MORE_DATA) {
            bytes = size;
            continue;
        }
        if (rc != ERROR_SUCCESS)
            return defaultValue;
        size_t chars = size / sizeof(wchar_t);
        std::wstring value(buf.data(), chars);
        if (size_t nul = value.find(L'\0'); nul != std::wstring::npos)
            value.resize(nul);
        return value;
    }
}

bool SaveSetting(const std::wstring& application, const std::wstring& section, const std::wstring& key,
                 const std::wstring& value) {
    HKEY raw = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, SettingsKeyPath(application, section).c_str(), 0, nullptr, 0,
                        KEY_SET_VALUE, nullptr, &raw, nullptr) != ERROR_SUCCESS)
        return false;
    UniqueRegKey hkey(raw);
    return RegSetValueExW(hkey.get(), key.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                          static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

} // namespace tessary
