#include "platform/Registry.h"
#include "platform/Handles.h"
#include "platform/KeyPath.h"
#include <vector>

namespace tessary {

namespace {

// The predefined keys are sign-extended 32-bit numbers, as the Windows headers define them.
HKEY RootHandle(RegistryRoot root) {
    return reinterpret_cast<HKEY>(
        static_cast<ULONG_PTR>(static_cast<LONG>(static_cast<std::uint32_t>(root))));
}

UniqueRegKey OpenKey(RegistryRoot root, const std::wstring& subkey, REGSAM access) {
    UniqueRegKey key;
    if (root == RegistryRoot::None ||
        RegOpenKeyExW(RootHandle(root), subkey.c_str(), 0, access, key.put()) != ERROR_SUCCESS)
        return UniqueRegKey();
    return key;
}

} // namespace

bool QueryRegText(HKEY key, const std::wstring& valueName, std::wstring& text, DWORD* type) {
    constexpr int kAttempts = 8;
    std::vector<BYTE> data(512);
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        DWORD size = static_cast<DWORD>(data.size());
        const LONG rc = RegQueryValueExW(key, valueName.c_str(), nullptr, type, data.data(), &size);
        if (rc == ERROR_MORE_DATA) {
            // The value may grow again between the calls; ask again with the new size.
            data.resize(static_cast<std::size_t>(size) + sizeof(wchar_t));
            continue;
        }
        if (rc != ERROR_SUCCESS)
            return false;
        text.assign(reinterpret_cast<const wchar_t*>(data.data()), size / sizeof(wchar_t));
        return true;
    }
    return false;
}

std::wstring ReadRegString(std::wstring_view keyPath, std::wstring& valueName) {
    const std::wstring notAvailable(kRegNotAvailable);
    auto path = SplitReadPath(keyPath);
    if (!path)
        return notAvailable;
    UniqueRegKey key = OpenKey(path->root, path->subkey, KEY_READ);
    if (!key && valueName.empty()) {
        if (auto split = SplitLastComponent(path->subkey)) {
            valueName = split->valueName;
            key = OpenKey(path->root, split->subkey, KEY_READ);
        }
    }
    if (!key)
        return notAvailable;
    std::wstring raw;
    if (!QueryRegText(key.get(), valueName, raw))
        return notAvailable;
    return CleanRegText(raw);
}

std::wstring ReadRegString(std::wstring_view keyPath, std::wstring_view valueName) {
    std::wstring name(valueName);
    return ReadRegString(keyPath, name);
}

void WriteRegString(std::wstring_view keyPath, std::wstring_view valueName, std::wstring_view value) {
    const KeyPath path = ParseKeyPath(keyPath);
    if (!path.usable())
        return;
    UniqueRegKey key = OpenKey(path.root, path.subkey, KEY_WRITE);
    if (!key)
        return;
    const std::wstring name(valueName), text(value);
    const DWORD bytes = static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t));
    RegSetValueExW(key.get(), name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()), bytes);
}

} // namespace tessary
