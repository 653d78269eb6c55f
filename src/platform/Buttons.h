// Option buttons and check boxes with manual styles: the form decides what a click changes. A
// click checks the option (or flips the box) and runs the handler; setting a value from code
// changes the control and runs the handler only when the value changed.
#pragma once
#include <windows.h>
#include <functional>
#include <vector>

namespace tessary {

// A control array of option buttons of which one is checked, with one handler taking the index.
class RadioGroup {
public:
    // tabStopFollows: Tab enters the group at the checked option (the others lose WS_TABSTOP).
    void Attach(std::vector<HWND> buttons, std::function<void(int index)> handler,
                bool tabStopFollows = false);
    HWND operator[](int index) const { return buttons_[static_cast<std::size_t>(index)]; }
    int Count() const { return static_cast<int>(buttons_.size()); }
    bool IsChecked(int index) const;

    // The user's click on option index: it becomes the checked one, and the handler runs.
    void Click(int index);
    // From code: as a click, but nothing happens when the index does not exist or the option is
    // already checked.
    void Set(int index);
    // From code, without running the handler: the option becomes the checked one.
    void Check(int index) { CheckOnly(index); }

private:
    void CheckOnly(int index);
    std::vector<HWND> buttons_;
    std::function<void(int)> handler_;
    bool tabStopFollows_ = false;
};

// A check box with its handler.
class CheckBox {
public:
    void Attach(HWND button, std::function<void()> handler);
    HWND hwnd() const { return button_; }
    bool IsChecked() const;

    // The user's click: the box flips, and the handler runs.
    void Click();
    // From code: BST_CHECKED or BST_UNCHECKED; the handler runs when the state changed.
    void Set(int state);

private:
    HWND button_ = nullptr;
    std::function<void()> handler_;
};

} // namespace tessary
