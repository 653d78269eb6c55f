// Starting and closing the real main window in a test, with a clean settings store and state.
#pragma once
#include "app/frmMain.h"
#include "support/Dialogs.h"
#include "support/WinTest.h"
#include <memory>
#include <optional>
#include <string>

namespace wintest {

// Removes this test program's settings (the store is named after the executable).
void ClearSettings();
void WriteSetting(const std::wstring& key, const std::wstring& value);
std::optional<std::wstring> ReadSetting(const std::wstring& key);

// Fresh shared state, a main window loaded as the program loads it, closed as the user closes it.
class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // Creates the window and runs its start-up; settings written before this call are read.
    tessary::frmMain& Start();
    // Closes the window as the user does (its unload handler runs) and forgets it.
    void Close();
    tessary::frmMain& form() { return *form_; }
    bool started() const { return form_ && form_->IsLoaded(); }

    std::unique_ptr<DialogRecorder> dialogs_;

private:
    std::unique_ptr<tessary::frmMain> form_;
};

// Outer window rectangle in pixels.
RECT OuterRect(HWND hwnd);

} // namespace wintest
