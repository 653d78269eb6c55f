#include "platform/ListView.h"

namespace tessary {

namespace {

LRESULT Send(HWND h, UINT msg, WPARAM wp = 0, LPARAM lp = 0) {
    return SendMessageW(h, msg, wp, lp);
}

int CALLBACK CompareThunk(LPARAM a, LPARAM b, LPARAM context) {
    const auto& compare = *reinterpret_cast<const std::function<int(LPARAM, LPARAM)>*>(context);
    return compare(a, b);
}

} // namespace

int ListView::Count() const {
    return static_cast<int>(Send(hwnd_, LVM_GETITEMCOUNT));
}

void ListView::Clear() {
    Send(hwnd_, LVM_DELETEALLITEMS);
}

int ListView::Add(const std::wstring& text, int imageIndex, LPARAM value) {
    LVITEMW item{};
    item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM | LVIF_STATE;
    item.stateMask = LVIS_SELECTED; // unselected from the start: no second message to say so
    item.iItem = Count();
    item.pszText = const_cast<wchar_t*>(text.c_str());
    item.iImage = imageIndex;
    item.lParam = value;
    return static_cast<int>(Send(hwnd_, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
}

std::wstring ListView::Text(int item, int subItem) const {
    // The control copies at most the buffer's size: grow until the text fits.
    std::wstring buffer(64, L'\0');
    for (;;) {
        LVITEMW lv{};
        lv.iSubItem = subItem;
        lv.pszText = buffer.data();
        lv.cchTextMax = static_cast<int>(buffer.size());
        const int n = static_cast<int>(
            Send(hwnd_, LVM_GETITEMTEXTW, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&lv)));
        if (n < static_cast<int>(buffer.size()) - 1 || buffer.size() >= 32768) {
            buffer.resize(static_cast<std::size_t>(n > 0 ? n : 0));
            return buffer;
        }
        buffer.assign(buffer.size() * 4, L'\0');
    }
}

void ListView::SetText(int item, int subItem, const std::wstring& text) {
    LVITEMW lv{};
    lv.iSubItem = subItem;
    lv.pszText = const_cast<wchar_t*>(text.c_str());
    Send(hwnd_, LVM_SETITEMTEXTW, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&lv));
}

LPARAM ListView::Value(int item) const {
    LVITEMW lv{};
    lv.mask = LVIF_PARAM;
    lv.iItem = item;
    if (!Send(hwnd_, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&lv)))
        return -1;
    return lv.lParam;
}

int ListView::ImageIndex(int item) const {
    LVITEMW lv{};
    lv.mask = LVIF_IMAGE;
    lv.iItem = item;
    if (!Send(hwnd_, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&lv)))
        return -1;
    return lv.iImage;
}

int ListView::FindByValue(LPARAM value) const {
    LVFINDINFOW find{};
    find.flags = LVFI_PARAM;
    find.lParam = value;
    return static_cast<int>(
        Send(hwnd_, LVM_FINDITEMW, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&find)));
}

int ListView::SelectedCount() const {
    return static_cast<int>(Send(hwnd_, LVM_GETSELECTEDCOUNT));
}

bool ListView::IsSelected(int item) const {
    return (Send(hwnd_, LVM_GETITEMSTATE, static_cast<WPARAM>(item), LVIS_SELECTED) & LVIS_SELECTED) != 0;
}

void ListView::SetSelected(int item, bool selected) {
    LVITEMW lv{};
    lv.stateMask = LVIS_SELECTED;
    lv.state = selected ? LVIS_SELECTED : 0;
    Send(hwnd_, LVM_SETITEMSTATE, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&lv));
}

int ListView::NextSelected(int after) const {
    return static_cast<int>(Send(hwnd_, LVM_GETNEXTITEM, static_cast<WPARAM>(after), LVNI_SELECTED));
}

int ListView::FocusedItem() const {
    return static_cast<int>(Send(hwnd_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED));
}

void ListView::SetFocused(int item) {
    LVITEMW lv{};
    lv.stateMask = LVIS_FOCUSED;
    lv.state = LVIS_FOCUSED;
    Send(hwnd_, LVM_SETITEMSTATE, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&lv));
}

int ListView::HitTest(POINT client) const {
    LVHITTESTINFO hit{};
    hit.pt = client;
    return static_cast<int>(Send(hwnd_, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
}

RECT ListView::ItemRect(int item, int part) const {
    RECT rc{};
    rc.left = part;
    if (!Send(hwnd_, LVM_GETITEMRECT, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&rc)))
        rc = RECT{};
    return rc;
}

void ListView::Sort(const std::function<int(LPARAM, LPARAM)>& compare) {
    // LVM_SORTITEMS hands the comparison the items' own values.
    Send(hwnd_, LVM_SORTITEMS, reinterpret_cast<WPARAM>(&compare), reinterpret_cast<LPARAM>(&CompareThunk));
}

void ListView::EnsureVisible(int item) {
    Send(hwnd_, LVM_ENSUREVISIBLE, static_cast<WPARAM>(item), FALSE);
}

void ListView::ArrangeFromTop() {
    Send(hwnd_, LVM_ARRANGE, LVA_ALIGNTOP);
}

int ListView::ScrolledDown() const {
    if (GetView() == View::Report) {
        // Whole rows: the top row's index times the row height.
        const int top = static_cast<int>(Send(hwnd_, LVM_GETTOPINDEX));
        if (top <= 0)
            return 0;
        const RECT row = ItemRect(top);
        return top * static_cast<int>(row.bottom - row.top);
    }
    // Icon views scroll by pixels. (The view origin would say the same, but its sign differs
    // between systems.)
    return GetScrollPos(hwnd_, SB_VERT);
}

void ListView::ScrollDown(int pixels) {
    if (pixels != 0)
        Send(hwnd_, LVM_SCROLL, 0, pixels);
}

void ListView::SetView(View view) {
    const LONG_PTR style = GetWindowLongPtrW(hwnd_, GWL_STYLE);
    const LONG_PTR type = view == View::Report ? LVS_REPORT : LVS_ICON;
    if ((style & LVS_TYPEMASK) != type)
        SetWindowLongPtrW(hwnd_, GWL_STYLE, (style & ~static_cast<LONG_PTR>(LVS_TYPEMASK)) | type);
}

ListView::View ListView::GetView() const {
    return (GetWindowLongPtrW(hwnd_, GWL_STYLE) & LVS_TYPEMASK) == LVS_REPORT ? View::Report : View::Icons;
}

void ListView::SetImageList(HIMAGELIST list) {
    Send(hwnd_, LVM_SETIMAGELIST, LVSIL_NORMAL, reinterpret_cast<LPARAM>(list));
}

HIMAGELIST ListView::GetImageList() const {
    return reinterpret_cast<HIMAGELIST>(Send(hwnd_, LVM_GETIMAGELIST, LVSIL_NORMAL));
}

void ListView::SetBackColour(COLORREF colour) {
    Send(hwnd_, LVM_SETBKCOLOR, 0, static_cast<LPARAM>(colour));
    Send(hwnd_, LVM_SETTEXTBKCOLOR, 0, static_cast<LPARAM>(colour));
}

COLORREF ListView::BackColour() const {
    return static_cast<COLORREF>(Send(hwnd_, LVM_GETBKCOLOR));
}

void ListView::SetTextColour(COLORREF colour) {
    Send(hwnd_, LVM_SETTEXTCOLOR, 0, static_cast<LPARAM>(colour));
}

COLORREF ListView::TextColour() const {
    return static_cast<COLORREF>(Send(hwnd_, LVM_GETTEXTCOLOR));
}

void ListView::SetFont(HFONT font) {
    Send(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

HWND ListView::Header() const {
    return reinterpret_cast<HWND>(Send(hwnd_, LVM_GETHEADER));
}

void ListView::SetRedraw(bool on) {
    Send(hwnd_, WM_SETREDRAW, on ? TRUE : FALSE);
    if (on)
        InvalidateRect(hwnd_, nullptr, TRUE);
}

void ListView::Refresh() {
    InvalidateRect(hwnd_, nullptr, TRUE);
    UpdateWindow(hwnd_);
}

} // namespace tessary
