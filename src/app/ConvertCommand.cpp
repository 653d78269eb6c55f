// "&Convert Image": the converter opened on the image the command acts on, owned by the window
// whose menu it came from. A file written into the folder shown appears in the list.
#include "app/frmMain.h"
#include "converter/frmConvert.h"

namespace tessary {

namespace {

// The folder part of a full path, compared without case and trailing separators.
bool InFolder(const std::wstring& file, std::wstring folder) {
    while (!folder.empty() && folder.back() == L'\\')
        folder.pop_back();
    const std::size_t slash = file.find_last_of(L'\\');
    return slash != std::wstring::npos && !folder.empty() &&
           CompareStringOrdinal(file.c_str(), static_cast<int>(slash), folder.c_str(),
                                static_cast<int>(folder.size()), TRUE) == CSTR_EQUAL;
}

} // namespace

void frmMain::ConvertImage(const std::wstring& path, HWND owner) {
    if (path.empty())
        return;
    frmConvert dialog(path, owner, [this](const std::wstring& written) {
        const std::wstring folder = catalog_.CurrentFolder();
        if (InFolder(written, folder))
            LoadFolder(folder, true);
    });
    dialog.ShowModal();
}

} // namespace tessary
