// The registry module against the real registry of the test prefix, under a scratch key.
#include "platform/Handles.h"
#include "wallpaper/Registry.h"
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
    static std::optional<std::wstring> Stored(HKEY root, const std::wstring& subkey,
                                              const std::wstring& name) {
        DWORD bytes = 0;
        if (RegGetValueW(root, subkey.c_str(), name.c_str(), RRF_RT_REG_SZ, nullptr, nullptr, &bytes) !=
            ERROR_SUCCESS)
            return std::nullopt;
        std::wstring text(bytes / sizeof(wchar_t), L'\0');
        if (RegGetValueW(root, subkey.c_str(), name.c_str(), RRF_RT_REG_SZ, nullptr, text.data(), &bytes) !=
            ERROR_SUCCESS)
            return std::nullopt;
        text.resize(wcslen(text.c_str()));
        return text;
    }
    std::optional<std::wstring> Stored(const std::wstring& name) const {
        return Stored(HKEY_CURRENT_USER, subkey_, name);
    }
    static bool KeyExists(const std::wstring& subkey) {
        HKEY key = nullptr;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, subkey.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
            return false;
        RegCloseKey(key);
        return true;
    }

    std::wstring subkey_, path_;
    UniqueRegKey key_;
};

} // namespace

TEST_F(Registry, ReadsAStoredValueWithoutPaddingOrTerminator) {
    Put(L"Wallpaper", L"C:\\Pictures\\sunset.bmp");
    EXPECT_EQ(ReadRegString(path_, L"Wallpaper"), L"C:\\Pictures\\sunset.bmp");
    // Spaces are trimmed from the ends of the data; the terminator ends the text.
    Put(L"Padded", L"  C:\\a b.bmp");
    EXPECT_EQ(ReadRegString(path_, L"Padded"), L"C:\\a b.bmp");
    Put(L"Spaces", L"   ", false);
    EXPECT_EQ(ReadRegString(path_, L"Spaces"), L"");
    // Data stored without its terminator, and with text after an embedded NUL.
    Put(L"Bare", L"abc", false);
    EXPECT_EQ(ReadRegString(path_, L"Bare"), L"abc");
    Put(L"Cut", std::wstring(L"before\0after", 12));
    EXPECT_EQ(ReadRegString(path_, L"Cut"), L"before");
    Put(L"Empty", L"");
    EXPECT_EQ(ReadRegString(path_, L"Empty"), L"");
}

TEST_F(Registry, ValuesOfAnyLengthAreRead) {
    // Paths of 255 to 259 characters are legal wallpaper paths; longer values are read whole too.
    for (std::size_t length : {254u, 255u, 256u, 259u, 260u, 1000u, 40000u}) {
        std::wstring text = L"C:\\" + std::wstring(length - 7, L'x') + L".bmp";
        ASSERT_EQ(text.size(), length);
        Put(L"Long", text);
        EXPECT_EQ(ReadRegString(path_, L"Long"), text) << length;
    }
}

TEST_F(Registry, FailedReadsGiveTheMarker) {
    EXPECT_EQ(ReadRegString(path_, L"NoSuchValue"), L"N/A");
    EXPECT_EQ(ReadRegString(path_ + L"\\NoSuchKey", L"Wallpaper"), L"N/A");
    Put(L"Wallpaper", L"x.bmp");
    // A root written in lower case is not a root; a path without "\" names no key.
    std::wstring lower = L"hkey_current_user\\" + subkey_;
    EXPECT_EQ(ReadRegString(lower, L"Wallpaper"), L"N/A");
    EXPECT_EQ(ReadRegString(L"HKEY_CURRENT_USER", L"Wallpaper"), L"N/A");
    EXPECT_EQ(ReadRegString(L"", L"Wallpaper"), L"N/A");
    EXPECT_EQ(ReadRegString(L"\\\\\\", L"Wallpaper"), L"N/A");
}

TEST_F(Registry, EmptyValueNameFallsBackToTheLastComponent) {
    Put(L"Wallpaper", L"C:\\w.bmp");
    std::wstring name;
    EXPECT_EQ(ReadRegString(path_ + L"\\Wallpaper", name), L"C:\\w.bmp");
    EXPECT_EQ(name, L"Wallpaper");
    // When the last component is no value either, the name is still taken over.
    name.clear();
    EXPECT_EQ(ReadRegString(path_ + L"\\Missing", name), L"N/A");
    EXPECT_EQ(name, L"Missing");
    // A named read does not fall back.
    name = L"Other";
    EXPECT_EQ(ReadRegString(path_ + L"\\Wallpaper", name), L"N/A");
    EXPECT_EQ(name, L"Other");
}

TEST_F(Registry, EmptyValueNameOfAnOpenKeyReadsItsDefaultValue) {
    Put(L"", L"default text");
    std::wstring name;
    EXPECT_EQ(ReadRegString(path_, name), L"default text");
    EXPECT_EQ(name, L"");
}

TEST_F(Registry, WritesAStringValue) {
    WriteRegString(path_, L"TileWallpaper", L"1");
    EXPECT_EQ(Stored(L"TileWallpaper"), L"1");
    // Overwritten, with a value longer than any fixed buffer.
    const std::wstring longText(600, L'y');
    WriteRegString(path_, L"TileWallpaper", longText);
    EXPECT_EQ(Stored(L"TileWallpaper"), longText);
    WriteRegString(path_, L"Wallpaper", L"");
    EXPECT_EQ(Stored(L"Wallpaper"), L"");
    DWORD type = 0;
    ASSERT_EQ(RegQueryValueExW(key_.get(), L"Wallpaper", nullptr, &type, nullptr, nullptr), ERROR_SUCCESS);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
}

TEST_F(Registry, MalformedPathsWriteNothing) {
    const std::wstring lower = L"hkey_current_user\\" + subkey_;
    WriteRegString(lower, L"A", L"1");
    WriteRegString(path_ + L"\\", L"B", L"1");
    WriteRegString(L"Software\\" + subkey_, L"C", L"1");
    WriteRegString(L"HKEY_NOT_A_ROOT\\" + subkey_, L"D", L"1");
    WriteRegString(L"", L"E", L"1");
    for (const wchar_t* name : {L"A", L"B", L"C", L"D", L"E"})
        EXPECT_FALSE(Stored(name).has_value()) << name;
    DWORD values = 0;
    ASSERT_EQ(RegQueryInfoKeyW(key_.get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values,
                               nullptr, nullptr, nullptr, nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(values, 0u);
}

TEST_F(Registry, KeysAreNeverCreated) {
    WriteRegString(path_ + L"\\New\\Deeper", L"Wallpaper", L"x");
    EXPECT_FALSE(KeyExists(subkey_ + L"\\New"));
    EXPECT_EQ(ReadRegString(path_ + L"\\New\\Deeper", L"Wallpaper"), L"N/A");
}

TEST_F(Registry, ARootAloneIsWrittenDirectly) {
    const std::wstring name = L"TessaryRootValue" + std::to_wstring(GetCurrentProcessId());
    WriteRegString(L"HKEY_CURRENT_USER", name, L"at the root");
    EXPECT_EQ(Stored(HKEY_CURRENT_USER, L"", name), L"at the root");
    RegDeleteValueW(HKEY_CURRENT_USER, name.c_str());
}
