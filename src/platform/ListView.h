// The list-view control: every LVM_* message the program sends goes through here. Items carry a
// caller-chosen value (lParam) by which they are found and sorted.
#pragma once
#include <windows.h>
#include <commctrl.h>
#include <functional>
#include <string>

namespace tessary {

class ListView {
public:
    explicit ListView(HWND hwnd = nullptr) : hwnd_(hwnd) {}
    HWND hwnd() const { return hwnd_; }

    // ---- Items ----
    int Count() const;
    void Clear();
    // Appends an unselected item with its text, 0-based picture index in the normal image list,
    // and value. Returns its index, or -1.
    int Add(const std::wstring& text, int imageIndex, LPARAM value);
    std::wstring Text(int item, int subItem = 0) const;
    void SetText(int item, int subItem, const std::wstring& text);
    LPARAM Value(int item) const;
    int ImageIndex(int item) const;
    // Index of the item carrying value, or -1.
    int FindByValue(LPARAM value) const;

    // ---- Selection ----
    int SelectedCount() const;
    bool IsSelected(int item) const;
    void SetSelected(int item, bool selected);
    // The next selected item after `after` (-1: from the start), or -1.
    int NextSelected(int after = -1) const;
    int FocusedItem() const;
    void SetFocused(int item);
    // The item under a point in client coordinates, or -1.
    int HitTest(POINT client) const;
    RECT ItemRect(int item, int part = LVIR_BOUNDS) const;

    // ---- Order and position ----
    // Orders the items; compare gets two item values and answers <0, 0 or >0.
    void Sort(const std::function<int(LPARAM, LPARAM)>& compare);
    void EnsureVisible(int item);
    // Icons arranged in rows from the top.
    void ArrangeFromTop();
    // How far the list is scrolled down, in pixels, and scrolling by a number of pixels.
    int ScrolledDown() const;
    void ScrollDown(int pixels);

    // ---- Look ----
    enum class View { Icons, Report };
    void SetView(View view);
    View GetView() const;
    void SetImageList(HIMAGELIST list); // the normal (large icon) list; nullptr detaches it
    HIMAGELIST GetImageList() const;
    void SetBackColour(COLORREF colour);
    COLORREF BackColour() const;
    void SetTextColour(COLORREF colour);
    COLORREF TextColour() const;
    void SetFont(HFONT font); // the caller keeps the font alive
    HWND Header() const;      // the report view's column header
    // Repaints now.
    void Refresh();
    // While off, changes are not drawn (and not laid out item by item); turning it on again
    // redraws the whole list.
    void SetRedraw(bool on);

private:
    HWND hwnd_;
};

} // namespace tessary
