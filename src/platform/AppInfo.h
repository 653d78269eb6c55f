// Where the program lives and what it is called: the settings application name, the cache file
// name and the viewer caption all come from the executable's name.
#pragma once
#include <string>

namespace tessary {

// The executable's folder, without a trailing separator except at a drive root ("C:\").
const std::wstring& ProgramFolder();
// The executable's file name without its extension ("Tessary").
const std::wstring& ExeBaseName();

} // namespace tessary
