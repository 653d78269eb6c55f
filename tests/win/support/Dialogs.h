// A dialog responder for tests: records every message or input box and answers from a script.
#pragma once
#include "platform/Dialogs.h"
#include <deque>
#include <memory>
#include <vector>

namespace wintest {

struct DialogCall {
    std::wstring text, title, initial;
    UINT style = 0;
    bool input = false;
    bool menu = false;
    // For a menu: the captions of its items as shown (separators as "-"), hidden ones left out,
    // greyed ones marked with a leading "~".
    std::vector<std::wstring> menuItems;
};

std::vector<std::wstring> VisibleMenuItems(HMENU menu);

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

class RecordingDialogs final : public tessary::DialogService {
public:
    std::vector<DialogCall>* calls;
    std::deque<int>* answers;
    std::deque<std::optional<std::wstring>>* inputs;
    std::deque<UINT>* menuChoices;
    RecordingDialogs(std::vector<DialogCall>* c, std::deque<int>* a,
                     std::deque<std::optional<std::wstring>>* i, std::deque<UINT>* m)
        : calls(c), answers(a), inputs(i), menuChoices(m) {}
    UINT ChooseFromMenu(HMENU menu, int, int, HWND) override {
        DialogCall call;
        call.menu = true;
        call.menuItems = VisibleMenuItems(menu);
        calls->push_back(call);
        if (menuChoices->empty())
            return 0;
        UINT id = menuChoices->front();
        menuChoices->pop_front();
        return id;
    }
    int ShowMessage(const std::wstring& text, UINT style, const std::wstring& title) override {
        DialogCall call;
        call.text = text;
        call.title = title;
        call.style = style;
        calls->push_back(call);
        if (answers->empty())
            return IDOK;
        int a = answers->front();
        answers->pop_front();
        return a;
    }
    std::optional<std::wstring> InputText(const std::wstring& prompt, const std::wstring& title,
                                          const std::wstring& initial) override {
        DialogCall call;
        call.text = prompt;
        call.title = title;
        call.initial = initial;
        call.input = true;
        calls->push_back(call);
        if (inputs->empty())
            return std::nullopt;
        auto a = inputs->front();
        inputs->pop_front();
        return a;
    }
};

// Installs a recorder for the lifetime of the object and puts the previous service back after.
class DialogRecorder {
public:
    std::vector<DialogCall> calls;
    std::deque<int> answers;
    std::deque<std::optional<std::wstring>> inputs;
    std::deque<UINT> menuChoices;
    DialogRecorder()
        : previous_(tessary::InstallDialogs(
              std::make_unique<RecordingDialogs>(&calls, &answers, &inputs, &menuChoices))) {}
    ~DialogRecorder() { tessary::InstallDialogs(std::move(previous_)); }
    DialogRecorder(const DialogRecorder&) = delete;
    DialogRecorder& operator=(const DialogRecorder&) = delete;

private:
    std::unique_ptr<tessary::DialogService> previous_;
};

} // namespace wintest
