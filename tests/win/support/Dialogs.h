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

// Answers the real dialog boxes of this thread as a user at the keyboard does: while it lives, a
// timer looks for a dialog window, and for the first step of the script types the step's text
// into the focused control (character messages), then presses Enter. The title and the texts of
// every box answered are kept.
class KeyboardAnswers {
public:
    struct Answered {
        std::wstring title, text; // text: the box's static texts, joined by newlines
    };
    explicit KeyboardAnswers(std::vector<std::wstring> typed);
    ~KeyboardAnswers();
    KeyboardAnswers(const KeyboardAnswers&) = delete;
    KeyboardAnswers& operator=(const KeyboardAnswers&) = delete;
    const std::vector<Answered>& answered() const { return answered_; }

private:
    static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD);
    void AnswerOpenBox();
    std::deque<std::wstring> typed_;
    std::vector<Answered> answered_;
    std::unique_ptr<tessary::DialogService> previous_;
    UINT_PTR timer_ = 0;
    HWND lastAnswered_ = nullptr; // still on screen until its loop reads the keys
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
