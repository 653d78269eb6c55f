#include "support/MainWindow.h"
#include "app/Settings.h"
#include "core/SharedState.h"
#include "platform/AppInfo.h"
#include "platform/Handles.h"

namespace wintest {

void ClearSettings() {
    std::wstring app = L"Software\\VB and VBA Program Settings\\" + tessary::ExeBaseName();
    RegDeleteTreeW(HKEY_CURRENT_USER, app.c_str());
    RegDeleteKeyW(HKEY_CURRENT_USER, app.c_str());
}

void WriteSetting(const std::wstring& key, const std::wstring& value) {
    tessary::SaveSetting(tessary::ExeBaseName(), tessary::kSettingsSection, key, value);
}

std::optional<std::wstring> ReadSetting(const std::wstring& key) {
    const std::wstring missing = L"\x01missing";
    std::wstring v = tessary::GetSetting(tessary::ExeBaseName(), tessary::kSettingsSection, key, missing);
    if (v == missing)
        return std::nullopt;
    return v;
}

void MainWindowTest::SetUp() {
    ClearSettings();
    tessary::state = tessary::SharedState{};
    dialogs_ = std::make_unique<DialogRecorder>();
}

void MainWindowTest::TearDown() {
    Close();
    dialogs_.reset();
    ClearSettings();
    tessary::state = tessary::SharedState{};
}

tessary::frmMain& MainWindowTest::Start() {
    form_ = std::make_unique<tessary::frmMain>();
    EXPECT_TRUE(form_->Load());
    Pump(50);
    return *form_;
}

void MainWindowTest::Close() {
    if (form_ && form_->IsLoaded()) {
        SendMessageW(form_->hwnd(), WM_CLOSE, 0, 0);
        Pump(20);
    }
    form_.reset();
}

RECT OuterRect(HWND hwnd) {
    RECT rc{};
    GetWindowRect(hwnd, &rc);
    return rc;
}

} // namespace wintest
