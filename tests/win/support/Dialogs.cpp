#include "support/Dialogs.h"

namespace wintest {

std::vector<std::wstring> VisibleMenuItems(HMENU menu) {
    std::vector<std::wstring> items;
    int n = GetMenuItemCount(menu);
    for (int i = 0; i < n; ++i) {
        MENUITEMINFOW mi{};
        mi.cbSize = sizeof(mi);
        mi.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_STRING;
        wchar_t text[256] = {};
        mi.dwTypeData = text;
        mi.cch = 255;
        if (!GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &mi))
            continue;
        if (mi.fType & MFT_SEPARATOR)
            items.push_back(L"-");
        else
            items.push_back(((mi.fState & MFS_DISABLED) ? L"~" : L"") + std::wstring(text));
    }
    return items;
}

} // namespace wintest
