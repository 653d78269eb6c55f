// Where the program lives and what it is called: the settings application name, the cache file
// name and the viewer caption all come from the executable's name.
#pragma once
#include <string>
#include <vector>

namespace tessary {

// The executable's folder, without a trailing separator except at a drive root ("C:\").
// The overlay images are read from here.
const std::wstring& ProgramFolder();
// The executable's file name without its extension ("Tessary").
const std::wstring& ExeBaseName();

// The folder for the files the program writes (thumbnail cache, wallpaper bitmap): the program's
// folder when a file can be created there (a portable copy), else %LOCALAPPDATA%\Tessary (a copy
// under Program Files, where a 64-bit program gets no file virtualisation). Empty when neither is
// writable: the program then runs without a cache. Decided once, on first use.
const std::wstring& DataFolder();
// The first of these folders in which a file can be created, made first when it is missing;
// empty when there is none.
std::wstring FirstWritableFolder(const std::vector<std::wstring>& candidates);

} // namespace tessary
