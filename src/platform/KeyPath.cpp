#include "platform/KeyPath.h"
#include <array>
#include <utility>

namespace tessary {

namespace {

constexpr std::array<std::pair<std::wstring_view, RegistryRoot>, 7> kRoots{{
    {L"HKEY_CLASSES_ROOT", RegistryRoot::ClassesRoot},
    {L"HKEY_CURRENT_USER", RegistryRoot::CurrentUser},
    {L"HKEY_LOCAL_MACHINE", RegistryRoot::LocalMachine},
    {L"HKEY_USERS", RegistryRoot::Users},
    {L"HKEY_PERFORMANCE_DATA", RegistryRoot::PerformanceData},
    {L"HKEY_CURRENT_CONFIG", RegistryRoot::CurrentConfig},
    {L"HKEY_DYN_DATA", RegistryRoot::DynData},
}};

} // namespace

RegistryRoot RootKeyFromName(std::wstring_view name) {
    for (const auto& [rootName, root] : kRoots)
        if (rootName == name)
            return root;
    return RegistryRoot::None;
}

KeyPath ParseKeyPath(std::wstring_view path) {
    if (!path.starts_with(L"HKEY_") || path.ends_with(L'\\'))
        return {RegistryRoot::None, std::wstring(path)};
    const auto slash = path.find(L'\\');
    if (slash == std::wstring_view::npos)
        return {RootKeyFromName(path), {}};
    return {RootKeyFromName(path.substr(0, slash)), std::wstring(path.substr(slash + 1))};
}

std::optional<KeyPath> SplitReadPath(std::wstring_view path) {
    const auto slash = path.find(L'\\');
    if (slash == std::wstring_view::npos)
        return std::nullopt;
    return KeyPath{RootKeyFromName(path.substr(0, slash)), std::wstring(path.substr(slash + 1))};
}

std::optional<SubkeyAndValue> SplitLastComponent(std::wstring_view subkey) {
    const auto slash = subkey.rfind(L'\\');
    if (slash == std::wstring_view::npos || slash == 0)
        return std::nullopt;
    return SubkeyAndValue{std::wstring(subkey.substr(0, slash)), std::wstring(subkey.substr(slash + 1))};
}

std::wstring CleanRegText(std::wstring_view raw) {
    const auto first = raw.find_first_not_of(L' ');
    if (first == std::wstring_view::npos)
        return {};
    raw = raw.substr(first, raw.find_last_not_of(L' ') - first + 1);
    return std::wstring(raw.substr(0, raw.find(L'\0')));
}

} // namespace tessary
