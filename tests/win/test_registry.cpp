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
        subkey_ = L"Software\\TessaryRegistryTest" + std::to_wstring(GetCurrentProcessId());
        path_ = L"HKEY_CURRENT_USER\\" + subkey_;
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, subkey_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                  &key, nullptr),
                  ERROR_SUCCESS);
        key_.reset(key);
    }
    void TearDown() override {
        key_.reset();
        RegDeleteTreeW(HKEY_CURRENT_USER, subkey_.c_str());
        RegDeleteKeyW(HKEY_CURRENT_USER, subkey_.c_str());
    }
    void Put(const std::wstring& name, const std::wstring& text, bool terminated = true) {
        const DWORD bytes = static_cast<DWORD>((text.size() + (terminated ? 1 : 0)) * sizeof(wchar_t));
        ASSERT_EQ(RegSetValueExW(key_.get(), name.c_str(), 0, REG_SZ,
                                 reinterpret_cast<const BYTE*>(text.c_str()), bytes),
                  ERROR_SUCCESS);
    }
    // The stored text, or nothing when the value does not exist.
    std::optional<std::wstring> Stored(const std::wstring& name) const {
        wchar_t text[1024] = {};
        DWORD bytes = sizeof text;
        if (RegGetValueW(HKEY_CURRENT_USER, subkey_.c_str(), name.c_str(), RRF_RT_REG_SZ, nullptr, text,
                         &bytes) != ERROR_SUCCESS)
            return std::nullopt;
        return std::wstring(text);
    }
    static bool KeyExists(const std::wstring& subkey) {
        HKEY key = nullptr;
        const bool found =
            RegOpenKeyExW(HKEY_CURRENT_USER, subkey.c_str(), 0, KEY_READ, &key) == ERROR_SUCCESS;
        UniqueRegKey owner(found ? key : nullptr);
        return found;
    }

    std::wstring subkey_, path_;
    UniqueRegKey key_;
};

} // namespace

TEST_F(Registry, ReadsStoredValuesOfAnyLength) {
    // The text is cleaned natively; here the real read must pass padding and a missing terminator on.
    Put(L"Padded", L"  C:\\a b.bmp");
    EXPECT_EQ(ReadRegString(path_, L"Padded"), L"C:\\a b.bmp");
    Put(L"Bare", L"abc", false);
    EXPECT_EQ(ReadRegString(path_, L"Bare"), L"abc");
    // Paths of 255 to 259 characters are legal wallpaper paths; longer values are read whole too.
    for (std::size_t length : {255u, 259u, 40000u}) {
        const std::wstring text = L"C:\\" + std::wstring(length - 7, L'x') + L".bmp";
        Put(L"Long", text);
        EXPECT_EQ(ReadRegString(path_, L"Long"), text) << length;
    }
}

TEST_F(Registry, FailedReadsGiveTheMarker) {
    EXPECT_EQ(ReadRegString(path_, L"NoSuchValue"), L"N/A");
    EXPECT_EQ(ReadRegString(path_ + L"\\NoSuchKey", L"Wallpaper"), L"N/A");
    Put(L"Wallpaper", L"x.bmp");
    // A root written in lower case is not a root.
    EXPECT_EQ(ReadRegString(L"hkey_current_user\\" + subkey_, L"Wallpaper"), L"N/A");
}

TEST_F(Registry, EmptyValueNameFallsBackToTheLastComponent) {
    Put(L"Wallpaper", L"C:\\w.bmp");
    std::wstring name;
    EXPECT_EQ(ReadRegString(path_ + L"\\Wallpaper", name), L"C:\\w.bmp");
    EXPECT_EQ(name, L"Wallpaper");
    // A named read does not fall back.
    name = L"Other";
    EXPECT_EQ(ReadRegString(path_ + L"\\Wallpaper", name), L"N/A");
    EXPECT_EQ(name, L"Other");
}

TEST_F(Registry, WritesOnlyIntoKeysThatExist) {
    WriteRegString(path_, L"TileWallpaper", L"1");
    EXPECT_EQ(Stored(L"TileWallpaper"), L"1");
    const std::wstring longText(600, L'y'); // longer than any fixed buffer
    WriteRegString(path_, L"TileWallpaper", longText);
    EXPECT_EQ(Stored(L"TileWallpaper"), longText);
    WriteRegString(L"hkey_current_user\\" + subkey_, L"A", L"1");
    WriteRegString(path_ + L"\\", L"B", L"1");
    EXPECT_FALSE(Stored(L"A").has_value());
    EXPECT_FALSE(Stored(L"B").has_value());
    WriteRegString(path_ + L"\\New\\Deeper", L"Wallpaper", L"x");
    EXPECT_FALSE(KeyExists(subkey_ + L"\\New"));
}
