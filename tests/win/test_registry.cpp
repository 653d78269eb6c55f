// The registry module against the real registry of the test prefix, under a scratch key.
#include "platform/Handles.h"
#include "platform/Registry.h"
#include <gtest/gtest.h>
#include <optional>
#include <string>

using namespace tessary;

namespace {

class Registry : public ::testing::Test {
protected:
    void SetUp() override {
        HKEY raw = nullptr;
        RegCreateKeyExW(HKEY_CURRENT_USER, subkey_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &raw,
                        nullptr);
        key_.reset(raw);
    }
    void TearDown() override {
        key_.reset();
        RegDeleteTreeW(HKEY_CURRENT_USER, subkey_.c_str());
        RegDeleteKeyW(HKEY_CURRENT_USER, subkey_.c_str());
    }
    void Put(const std::wstring& name, const std::wstring& text, bool terminated = true) {
        RegSetValueExW(key_.get(), name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                       static_cast<DWORD>((text.size() + (terminated ? 1 : 0)) * sizeof(wchar_t)));
    }
    // The stored text, or nothing when the value does not exist.
    std::optional<std::wstring> Stored(const std::wstring& name) const {
        wchar_t text[1024] = {};
        DWORD bytes = sizeof text;
        if (RegGetValueW(key_.get(), nullptr, name.c_str(), RRF_RT_REG_SZ, nullptr, text, &bytes) !=
            ERROR_SUCCESS)
            return std::nullopt;
        return std::wstring(text);
    }
    const std::wstring subkey_ = L"Software\\TessaryRegistryTest" + std::to_wstring(GetCurrentProcessId());
    const std::wstring path_ = L"HKEY_CURRENT_USER\\" + subkey_;
    UniqueRegKey key_;
};

} // namespace

TEST_F(Registry, ReadsStoredValuesOfAnyLengthOrGivesTheMarker) {
    // The text is cleaned natively; here the real read must pass padding and a missing terminator on.
    Put(L"Padded", L"  C:\\a b.bmp");
    EXPECT_EQ(ReadRegString(path_, L"Padded"), L"C:\\a b.bmp");
    Put(L"Bare", L"abc", false);
    EXPECT_EQ(ReadRegString(path_, L"Bare"), L"abc");
    for (std::size_t length : {259u, 40000u}) {
        const std::wstring text = L"C:\\" + std::wstring(length - 7, L'x') + L".bmp";
        Put(L"Long", text);
        EXPECT_EQ(ReadRegString(path_, L"Long"), text) << length;
    }
    EXPECT_EQ(ReadRegString(path_, L"NoSuchValue"), L"N/A");
    EXPECT_EQ(ReadRegString(path_ + L"\\NoSuchKey", L"Bare"), L"N/A");
    EXPECT_EQ(ReadRegString(L"hkey_current_user\\" + subkey_, L"Bare"), L"N/A"); // not a root
}

TEST_F(Registry, EmptyValueNameFallsBackToTheLastComponent) {
    Put(L"Wallpaper", L"C:\\w.bmp");
    std::wstring name;
    EXPECT_EQ(ReadRegString(path_ + L"\\Wallpaper", name), L"C:\\w.bmp");
    EXPECT_EQ(name, L"Wallpaper");
    name = L"Other"; // a named read does not fall back
    EXPECT_EQ(ReadRegString(path_ + L"\\Wallpaper", name), L"N/A");
}

TEST_F(Registry, WritesOnlyIntoKeysThatExist) {
    const std::wstring longText(600, L'y'); // longer than any fixed buffer
    WriteRegString(path_, L"TileWallpaper", longText);
    EXPECT_EQ(Stored(L"TileWallpaper"), longText);
    WriteRegString(L"hkey_current_user\\" + subkey_, L"A", L"1");
    WriteRegString(path_ + L"\\", L"B", L"1");
    WriteRegString(path_ + L"\\New", L"C", L"x");
    EXPECT_FALSE(Stored(L"A") || Stored(L"B"));
    HKEY created = nullptr;
    EXPECT_NE(RegOpenKeyExW(key_.get(), L"New", 0, KEY_READ, &created), ERROR_SUCCESS);
    UniqueRegKey owner(created);
}
