// A dialog responder for tests: records every message box, input box and menu, and answers from
// a script.
#pragma once
#include "platform/Dialogs.h"
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace wintest {

struct DialogCall {
    std::wstring text, title, initial;
    UINT style = 0;
    bool input = false;
    bool windowShown = false; // whether a window of the program was visible at the time
    // For a menu: the captions of its items as shown (separators as "-"), greyed ones marked "~".
    std::vector<std::wstring> menuItems;
};

// Installs a recording service for its lifetime and puts the previous one back afterwards.
class DialogRecorder {
public:
    std::vector<DialogCall> calls;
    std::deque<int> answers;                        // message boxes; IDOK when empty
    std::deque<std::optional<std::wstring>> inputs; // input boxes; cancelled when empty
    std::deque<std::wstring> menuPicks;             // menus: the caption to choose; none when empty
    std::deque<UINT> menuChoices;                   // menus: an item id to return, before any pick

    DialogRecorder();
    ~DialogRecorder();
    DialogRecorder(const DialogRecorder&) = delete;
    DialogRecorder& operator=(const DialogRecorder&) = delete;

private:
    std::unique_ptr<tessary::DialogService> previous_;
};

} // namespace wintest
