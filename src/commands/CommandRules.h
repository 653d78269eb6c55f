// Rules of the list commands that are plain computation: the column-click sort, the texts of the
// delete and rename dialogs, and which new names a rename accepts.
#pragma once
#include "core/PathText.h"
#include <optional>
#include <string>
#include <vector>
#include <string_view>

namespace tessary {

// Column sort: column is the clicked header counted from 1; lastSortColumn is the list's state,
// updated in place, and sortBy the order shown now. Returns the sort order to select (0..7).
int ColumnClickSortBy(int column, int& lastSortColumn, int sortBy);

// The delete question: to the Recycle Bin, naming the files it cannot take, or permanently.
std::wstring DeleteConfirmText(int selectedCount, bool permanently,
                               const std::vector<std::wstring>& notRecyclable = {});
inline constexpr wchar_t kDeleteConfirmTitle[] = L"Confirm File Deletion";
std::wstring RenamePromptText(std::wstring_view fileName);
inline constexpr wchar_t kRenameTitle[] = L"Rename File";

// Why a typed new name cannot be used as a file name in the same folder; nothing when it can.
// A name with a path separator, a drive colon, a wildcard or another reserved character, a control
// character, "." or "..", blanks/dots at its end, a device name (CON, NUL, COM1, LPT1.gif, ...)
// or more than 255 characters would move the file, fail, or be silently changed by the file
// system.
std::optional<std::wstring> InvalidNewNameReason(std::wstring_view newName);

std::wstring RenameRefusedText(std::wstring_view newName, std::wstring_view reason);
std::wstring RenameTakenText(std::wstring_view newName);
std::wstring RenameFailedText(std::wstring_view oldName, std::wstring_view newName, std::wstring_view reason);
std::wstring DeleteFailedText(std::wstring_view path, std::wstring_view reason);

} // namespace tessary
