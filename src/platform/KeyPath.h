// Registry key paths written as text ("HKEY_CURRENT_USER\Control Panel\Desktop"): which root they
// name, and how reading and writing split them into a root and a subkey. The Windows side turns a
// RegistryRoot into the predefined HKEY with the same number.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tessary {

// The predefined root keys, numbered as Windows numbers them; None is accepted by no registry call.
enum class RegistryRoot : std::uint32_t {
    None = 0,
    ClassesRoot = 0x80000000u,
    CurrentUser = 0x80000001u,
    LocalMachine = 0x80000002u,
    Users = 0x80000003u,
    PerformanceData = 0x80000004u,
    CurrentConfig = 0x80000005u,
    DynData = 0x80000006u,
};

// What a failed read yields in place of a value; callers compare against this exact text.
inline constexpr std::wstring_view kRegNotAvailable = L"N/A";

// The root for a name such as "HKEY_CURRENT_USER"; names are compared exactly, case included.
RegistryRoot RootKeyFromName(std::wstring_view name);

struct KeyPath {
    RegistryRoot root = RegistryRoot::None;
    std::wstring subkey; // empty: the root key itself
    bool usable() const { return root != RegistryRoot::None; }
};

// The split used for writing. A path that does not start with "HKEY_" or that ends in "\" is
// rejected: the result keeps the whole path and no usable root. A path without "\" addresses
// the root key itself.
KeyPath ParseKeyPath(std::wstring_view path);

// The split used for reading: root name before the first "\", subkey after it, without the
// "HKEY_" test. Nothing when the path holds no "\" (the read then yields the "N/A" marker).
std::optional<KeyPath> SplitReadPath(std::wstring_view path);

// A read with an empty value name whose key does not open tries again with the subkey's last
// component taken as the value name: "Control Panel\Desktop\Wallpaper" gives the subkey
// "Control Panel\Desktop" and the value "Wallpaper". Nothing when the last "\" is missing or
// is the subkey's first character.
struct SubkeyAndValue {
    std::wstring subkey;
    std::wstring valueName;
};
std::optional<SubkeyAndValue> SplitLastComponent(std::wstring_view subkey);

// A string value as read: spaces trimmed from both ends, then cut before the first NUL (the
// data need not be terminated, and may carry its terminator and padding).
std::wstring CleanRegText(std::wstring_view raw);

} // namespace tessary
