#include <windows.h>

#include <gtest/gtest.h>

#include "settings/Registry.h"
#include "settings/win32/Win32RegistryApi.h"
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
        return Registry::ReadValue(api, reg::kCurrentUser, path, name, def);
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
        Registry::WriteStringValue(api, reg::kCurrentUser, path, "Halcyra", "C:\\x.exe /start"), 0);
    EXPECT_EQ(Read("Halcyra"), RegistryValue("C:\\x.exe /start"));
    EXPECT_EQ(Read("absent"), RegistryValue("Z"));
    Registry::WriteStringValue(api, reg::kCurrentUser, path, "Halcyra", "");
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

} // namespace
} // namespace halcyra::test
