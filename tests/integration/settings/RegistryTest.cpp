#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "common/Registry.h"
#include "common/win32/Win32RegistryApi.h"
#include "settings/win32/Win32SettingsStore.h"

namespace halcyra::test {
namespace {

using win32::Win32RegistryApi;

struct SettingsRealRegistry : ::testing::Test {
    Win32RegistryApi api;
    const std::string root = "Software\\HalcyraTest";
    const std::string path = root + "\\Deep\\Er";
    void SetUp() override { ::RegDeleteTreeA(HKEY_CURRENT_USER, root.c_str()); }
    void TearDown() override { ::RegDeleteTreeA(HKEY_CURRENT_USER, root.c_str()); }
    RegistryValue Read(const char* name, RegistryValue def = "Z") {
        return registry::ReadValue(api, reg::kCurrentUser, path, name, def);
    }
    // The value's stored bytes, as the wide functions see them.
    std::wstring Stored(const wchar_t* name, DWORD* type = nullptr) {
        const std::wstring key(path.begin(), path.end());
        wchar_t data[512] = {};
        DWORD size = sizeof data - sizeof(wchar_t);
        if (::RegGetValueW(HKEY_CURRENT_USER, key.c_str(), name, RRF_RT_ANY | RRF_NOEXPAND, type,
                           data, &size) != ERROR_SUCCESS) {
            return L"(absent)";
        }
        return std::wstring(data, size / sizeof(wchar_t));
    }
    void RawWide(const wchar_t* name, DWORD type, std::wstring_view text, DWORD extraBytes = 0) {
        const std::wstring key(path.begin(), path.end());
        HKEY handle = nullptr;
        ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE,
                                    nullptr, &handle, nullptr),
                  ERROR_SUCCESS);
        ::RegSetValueExW(handle, name, 0, type, reinterpret_cast<const BYTE*>(text.data()),
                         static_cast<DWORD>(text.size() * sizeof(wchar_t)) + extraBytes);
        ::RegCloseKey(handle);
    }
    void Raw(const char* name, DWORD type, std::string_view bytes) {
        HKEY key = nullptr;
        ASSERT_EQ(::RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_SET_VALUE,
                                    nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        ::RegSetValueExA(key, name, 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                         static_cast<DWORD>(bytes.size()));
        ::RegCloseKey(key);
    }
};

TEST_F(SettingsRealRegistry, WriteCreatesThePathAndReadBringsItBack) {
    EXPECT_EQ(Read("Halcyra", 5), RegistryValue(5)); // no key yet
    EXPECT_EQ(
        registry::WriteStringValue(api, reg::kCurrentUser, path, "Halcyra", "C:\\x.exe /start"), 0);
    EXPECT_EQ(Read("Halcyra"), RegistryValue("C:\\x.exe /start"));
    EXPECT_EQ(Read("absent"), RegistryValue("Z"));
    registry::WriteStringValue(api, reg::kCurrentUser, path, "Halcyra", "");
    EXPECT_EQ(Read("Halcyra"), RegistryValue(""));
    char data[8] = {};
    DWORD size = sizeof data;
    DWORD type = 0;
    ::RegGetValueA(HKEY_CURRENT_USER, path.c_str(), "Halcyra", RRF_RT_ANY, &type, data, &size);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(size, 1u); // the terminator only
}

TEST_F(SettingsRealRegistry, HostileValuesReadAsTheRulesSay) {
    using namespace std::string_literals;
    Raw("dword", REG_DWORD, "\xfe\xff\xff\xff"s);
    Raw("expand", REG_EXPAND_SZ, "%PATH%\0"s);
    Raw("binary", REG_BINARY, "\x01\x02"s);
    Raw("nul", REG_SZ, "ab\0cd\0"s);
    Raw("bare", REG_SZ, "abc"s); // no terminator
    EXPECT_EQ(Read("dword"), RegistryValue(-2));
    EXPECT_EQ(Read("expand"), RegistryValue("Z"));
    EXPECT_EQ(Read("binary"), RegistryValue("Z"));
    EXPECT_EQ(Read("nul"), RegistryValue("ab"));
    EXPECT_EQ(Read("bare"), RegistryValue("abc")); // whole
}

TEST_F(SettingsRealRegistry, SettingsStoreKeepsStringsUnderTheApplicationKey) {
    win32::Win32SettingsStore store;
    EXPECT_EQ(store.GetSetting("HalcyraTest", "Settings", "Confirm", "1"), "1");
    store.SaveSetting("HalcyraTest", "Settings", "Confirm", "0");
    store.SaveSetting("HalcyraTest", "Settings", "Confirm", "Zed");
    EXPECT_EQ(store.GetSetting("HalcyraTest", "Settings", "Confirm", "1"), "Zed");
    HKEY key = nullptr;
    ASSERT_EQ(::RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\HalcyraTest\\Settings", 0,
                              KEY_SET_VALUE, &key),
              ERROR_SUCCESS);
    const DWORD number = 1;
    ::RegSetValueExA(key, "Confirm", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number),
                     sizeof number);
    ::RegCloseKey(key);
    EXPECT_EQ(store.GetSetting("HalcyraTest", "Settings", "Confirm", "1"), "1");
}

// "Проба" (Cyrillic, outside the Western code page) in UTF-8 and in UTF-16.
#define HALCYRA_PROBE_UTF8 "\xd0\x9f\xd1\x80\xd0\xbe\xd0\xb1\xd0\xb0"
#define HALCYRA_PROBE_WIDE L"\x041f\x0440\x043e\x0431\x0430"

TEST_F(SettingsRealRegistry, LettersOutsideTheCodePageSurviveAndAsciiIsStoredAsBefore) {
    const std::string data = "C:\\" HALCYRA_PROBE_UTF8 "\\Halcyra.exe /start";
    EXPECT_EQ(registry::WriteStringValue(api, reg::kCurrentUser, path, "Halcyra", data), 0);
    EXPECT_EQ(Stored(L"Halcyra"),
              L"C:\\" HALCYRA_PROBE_WIDE L"\\Halcyra.exe /start" + std::wstring(1, L'\0'));
    EXPECT_EQ(Read("Halcyra"), RegistryValue(data));
    registry::WriteStringValue(api, reg::kCurrentUser, path, HALCYRA_PROBE_UTF8, "x");
    EXPECT_EQ(Stored(HALCYRA_PROBE_WIDE), std::wstring(L"x", 2));
    EXPECT_EQ(Read(HALCYRA_PROBE_UTF8), RegistryValue("x"));

    // ASCII text: the same bytes as the ANSI functions store.
    const std::string ascii = "C:\\Tools\\Halcyra.exe /start";
    registry::WriteStringValue(api, reg::kCurrentUser, path, "wide", ascii);
    Raw("ansi", REG_SZ, std::string_view(ascii.c_str(), ascii.size() + 1));
    DWORD wideType = 0;
    DWORD ansiType = 0;
    EXPECT_EQ(Stored(L"wide", &wideType), Stored(L"ansi", &ansiType));
    EXPECT_EQ(wideType, ansiType);
}

TEST_F(SettingsRealRegistry, StoredUtf16OfEveryShapeReadsAsText) {
    using namespace std::string_literals;
    const std::wstring longText(70000, L'7');
    const struct {
        const wchar_t* name;
        DWORD type;
        std::wstring stored;
        DWORD extraBytes; // a stray odd byte after the text
        std::string setting;
    } rows[] = {
        {L"plain", REG_SZ, L"1"s + L'\0', 0, "1"},
        {L"empty", REG_SZ, L""s, 0, ""},
        {L"bare", REG_SZ, L"None"s, 0, "None"},
        {L"odd", REG_SZ, L"S"s, 1, "S"},
        {L"nul", REG_SZ, L"1\0garbage\0"s, 0, "1"},
        {L"lone surrogate", REG_SZ, L"\xd800"s + L'\0', 0, "\xef\xbf\xbd"},
        {L"cyrillic", REG_SZ, HALCYRA_PROBE_WIDE + L"\0"s, 0, HALCYRA_PROBE_UTF8},
        {L"long", REG_SZ, longText + L'\0', 0, std::string(70000, '7')},
        {L"multi", REG_MULTI_SZ, L"1\0\0"s, 0, "default"},
        {L"expand", REG_EXPAND_SZ, L"1\0"s, 0, "default"},
        {L"binary", REG_BINARY, L"1\0"s, 0, "default"},
    };
    // The settings store sits one level below the test's own key.
    win32::Win32SettingsStore store;
    for (const auto& row : rows) {
        RawWide(row.name, row.type, row.stored, row.extraBytes);
        const std::string name(row.name, row.name + std::wstring_view(row.name).size());
        EXPECT_EQ(store.GetSetting("HalcyraTest\\Deep", "Er", name, "default"), row.setting)
            << name;
    }
}

} // namespace
} // namespace halcyra::test
