#include "commands/CommandRules.h"

namespace tessary {

int ColumnClickSortBy(int column, int& lastSortColumn, int sortBy) {
    // A second click on a column turns the order the list has now, which the sort box may have
    // changed since the first click; a click on another column starts ascending.
    const bool sameColumn = column == lastSortColumn && sortBy / 2 == column - 1;
    lastSortColumn = column;
    const bool descending = sameColumn && sortBy % 2 == 0;
    return (column - 1) * 2 + (descending ? 1 : 0);
}

std::wstring DeleteConfirmText(int selectedCount, bool permanently,
                               const std::vector<std::wstring>& notRecyclable) {
    const std::wstring what = selectedCount == 1
                                  ? L"the selected file"
                                  : L"the " + std::to_wstring(selectedCount) + L" selected files";
    if (permanently)
        return L"Are you sure you want to permanently delete " + what + L"? This cannot be undone.";
    std::wstring text = L"Are you sure you want to move " + what + L" to the Recycle Bin?";
    if (!notRecyclable.empty()) {
        text += L"\n\nThe Recycle Bin cannot take these; they will be deleted permanently:";
        for (const std::wstring& path : notRecyclable)
            text += L"\n" + path;
    }
    return text;
}

std::wstring RenamePromptText(std::wstring_view fileName) {
    return L"Enter the new name for '" + std::wstring(fileName) + L"'.";
}

namespace {

// CON, PRN, AUX, NUL, COM0 to COM9, LPT0 to LPT9 (superscript 1, 2 and 3 included), CONIN$ and
// CONOUT$ name devices, with any extension and in any case: the part before the first dot, with
// the spaces that end it dropped, is what Windows compares.
bool IsDeviceName(std::wstring_view name) {
    std::wstring_view stem = name.substr(0, name.find(L'.'));
    while (!stem.empty() && stem.back() == L' ')
        stem.remove_suffix(1);
    std::wstring upper;
    for (wchar_t c : stem)
        upper += (c >= L'a' && c <= L'z') ? static_cast<wchar_t>(c - L'a' + L'A') : c;
    for (const wchar_t* device : {L"CON", L"PRN", L"AUX", L"NUL", L"CONIN$", L"CONOUT$"})
        if (upper == device)
            return true;
    if (upper.size() == 4 && (upper.starts_with(L"COM") || upper.starts_with(L"LPT"))) {
        const wchar_t digit = upper[3];
        return (digit >= L'0' && digit <= L'9') || digit == L'\u00B9' || digit == L'\u00B2' ||
               digit == L'\u00B3';
    }
    return false;
}

constexpr std::size_t kMaxNameChars = 255;

} // namespace

std::optional<std::wstring> InvalidNewNameReason(std::wstring_view newName) {
    if (newName == L"." || newName == L"..")
        return L"\".\" and \"..\" name folders, not files.";
    if (newName.size() > kMaxNameChars)
        return L"A file name can be at most " + std::to_wstring(kMaxNameChars) + L" characters long.";
    for (wchar_t c : newName) {
        if (c < 32 || c == 127)
            return L"A file name cannot contain control characters.";
        if (std::wstring_view(L"\\/:*?\"<>|").find(c) != std::wstring_view::npos)
            return L"A file name cannot contain any of the characters \\ / : * ? \" < > |";
    }
    if (!newName.empty() && (newName.back() == L' ' || newName.back() == L'.'))
        return L"A file name cannot end with a space or a full stop.";
    if (IsDeviceName(newName))
        return L"The name is reserved by Windows for a device.";
    return std::nullopt;
}

std::wstring RenameRefusedText(std::wstring_view newName, std::wstring_view reason) {
    return L"The file cannot be renamed to '" + std::wstring(newName) + L"'. " + std::wstring(reason);
}

std::wstring RenameTakenText(std::wstring_view newName) {
    return L"The file cannot be renamed to '" + std::wstring(newName) +
           L"' because a file of that name already exists in the folder.";
}

std::wstring RenameFailedText(std::wstring_view oldName, std::wstring_view newName,
                              std::wstring_view reason) {
    return L"'" + std::wstring(oldName) + L"' could not be renamed to '" + std::wstring(newName) + L"': " +
           std::wstring(reason);
}

std::wstring DeleteFailedText(std::wstring_view path, std::wstring_view reason) {
    return L"'" + std::wstring(path) + L"' could not be deleted: " + std::wstring(reason);
}

} // namespace tessary
