// File names and path forms that every file operation of the program relies on, as plain text.
#pragma once
#include <string>
#include <string_view>

namespace tessary {

// The longest name one path component may have on the usual file systems.
inline constexpr std::size_t kMaxComponentChars = 255;

// One path component that names an entry inside its folder: not empty, not "." or "..", no
// separator, drive colon, wildcard or control character, at most kMaxComponentChars long.
bool IsPlainComponent(std::wstring_view name);

// The form of a full path that Windows takes beyond MAX_PATH ("\\?\C:\..." or "\\?\UNC\server\...")
// for a path long enough to need it; shorter, relative or already extended paths unchanged.
std::wstring LongPathForm(std::wstring_view path);

// A temporary file's path beside target: target & ".~" & tag & ".tmp", with the target's name
// shortened when the whole name would be longer than one component may be.
std::wstring TempPathBeside(std::wstring_view target, std::wstring_view tag);

} // namespace tessary
