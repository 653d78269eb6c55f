#include "platform/Buttons.h"
#include "platform/Controls.h"

namespace tessary {

void RadioGroup::Attach(std::vector<HWND> buttons, std::function<void(int index)> handler,
                        bool tabStopFollows) {
    buttons_ = std::move(buttons);
    handler_ = std::move(handler);
    tabStopFollows_ = tabStopFollows;
}

bool RadioGroup::IsChecked(int index) const {
    return index >= 0 && index < Count() && tessary::IsChecked((*this)[index]);
}

void RadioGroup::CheckOnly(int index) {
    for (int i = 0; i < Count(); ++i) {
        const HWND button = (*this)[i];
        SetCheckState(button, i == index ? BST_CHECKED : BST_UNCHECKED);
        if (tabStopFollows_) {
            const LONG_PTR style = GetWindowLongPtrW(button, GWL_STYLE);
            SetWindowLongPtrW(button, GWL_STYLE, i == index ? style | WS_TABSTOP : style & ~WS_TABSTOP);
        }
    }
}

void RadioGroup::Click(int index) {
    if (index < 0 || index >= Count())
        return;
    CheckOnly(index);
    if (handler_)
        handler_(index);
}

void RadioGroup::Set(int index) {
    if (index < 0 || index >= Count() || IsChecked(index))
        return;
    Click(index);
}

void CheckBox::Attach(HWND button, std::function<void()> handler) {
    button_ = button;
    handler_ = std::move(handler);
}

bool CheckBox::IsChecked() const {
    return tessary::IsChecked(button_);
}

void CheckBox::Click() {
    SetCheckState(button_, IsChecked() ? BST_UNCHECKED : BST_CHECKED);
    if (handler_)
        handler_();
}

void CheckBox::Set(int state) {
    if (SetCheckState(button_, state) && handler_)
        handler_();
}

} // namespace tessary
