#pragma once
// Recording fakes of the settings subsystem's platform: every call lands in one shared log.
// The registry fake is the one every test tier uses for IRegistryApi.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "settings/IHotkeyApi.h"
#include "settings/IKeyboardLayout.h"
#include "settings/IOptionsView.h"
#include "common/IRegistryApi.h"
#include "settings/ISettingsStore.h"

namespace halcyra::test {

using Log = std::vector<std::string>;

class FakeSettingsStore : public ISettingsStore {
public:
    explicit FakeSettingsStore(Log& log) : log_(log) {}
    std::map<std::string, std::string> values; // by key; app and section are checked
    std::string GetSetting(std::string_view app, std::string_view section, std::string_view key,
                           std::string_view def) override {
        log_.push_back("get " + Where(app, section) + std::string(key) + " " + std::string(def));
        auto it = values.find(std::string(key));
        return it == values.end() ? std::string(def) : it->second;
    }
    void SaveSetting(std::string_view app, std::string_view section, std::string_view key,
                     std::string_view value) override {
        log_.push_back("save " + Where(app, section) + std::string(key) + "=" + std::string(value));
        values[std::string(key)] = value;
    }

private:
    static std::string Where(std::string_view app, std::string_view section) {
        return app == "Halcyra" && section == "Settings" ? "" : "WRONG-PLACE ";
    }
    Log& log_;
};

// Refuses a combination already registered, by us or by another program, as the platform does.
class FakeHotkeyApi : public IHotkeyApi {
public:
    explicit FakeHotkeyApi(Log& log) : log_(log) {}
    std::set<std::uint32_t> heldElsewhere; // keys another program holds with CTRL+ALT
    std::int32_t RegisterHotKey(WindowHandle hwnd, std::int32_t id, std::uint32_t mods,
                                std::uint32_t vk) override {
        log_.push_back("register " + std::to_string(hwnd) + " " + std::to_string(id) + " " +
                       std::to_string(mods) + " " + std::to_string(vk));
        const std::uint32_t combination = mods << 16 | vk;
        if (heldElsewhere.count(vk) || ours_.count({hwnd, id})) {
            return 0;
        }
        for (const auto& held : ours_) {
            if (held.second == combination) {
                return 0;
            }
        }
        ours_[{hwnd, id}] = combination;
        return 1;
    }
    std::int32_t UnregisterHotKey(WindowHandle hwnd, std::int32_t id) override {
        log_.push_back("unregister " + std::to_string(hwnd) + " " + std::to_string(id));
        return ours_.erase({hwnd, id}) ? 1 : 0;
    }
    // The ANSI code page and WideCharToMultiByte as Windows documents them for it: 1252 as far
    // as tests need (ASCII and "Ä"), or 65001 ("Use Unicode UTF-8"), whose text is the UTF-8
    // itself and which refuses every flag but WC_ERR_INVALID_CHARS and the "default used"
    // question. The conversions asked for are kept apart from the shared log.
    std::uint32_t codePage = 1252;
    std::vector<std::string> conversions; // "letter flags [used]"
    std::uint32_t AnsiCodePage() override { return codePage; }
    std::string AnsiText(std::string_view utf8, std::uint32_t flags, bool* defaultUsed) override {
        conversions.push_back(std::string(utf8) + " " + std::to_string(flags) +
                              (defaultUsed ? " used" : ""));
        constexpr std::uint32_t kErrInvalidChars = 0x80, kNoBestFit = 0x400;
        if (codePage == 65001) {
            const bool refused = (flags & ~kErrInvalidChars) != 0 || defaultUsed != nullptr;
            return refused ? std::string() : std::string(utf8);
        }
        const bool ascii =
            std::all_of(utf8.begin(), utf8.end(), [](char c) { return (c & 0x80) == 0; });
        const bool known = ascii || utf8 == "\xC3\x84";
        const bool exact = (flags & kNoBestFit) != 0;
        if (defaultUsed) {
            *defaultUsed = !known && exact;
        }
        if (!known) { // the default character, or a best fit as Windows gives "Ł" one
            return exact ? "?" : "L";
        }
        return utf8 == "\xC3\x84" ? "\xC4" : std::string(utf8);
    }

private:
    std::map<std::pair<WindowHandle, std::int32_t>, std::uint32_t> ours_;
    Log& log_;
};

// A keyboard layout whose AltGr letters are given by the test (UTF-8 by capital letter). It
// keeps its own record of the keys asked about, apart from the settings' log.
class FakeKeyboardLayout : public IKeyboardLayout {
public:
    std::map<std::uint32_t, std::string> altGr;
    std::string asked;
    std::string AltGrText(std::uint32_t vk) override {
        asked += static_cast<char>(vk);
        const auto it = altGr.find(vk);
        return it == altGr.end() ? std::string() : it->second;
    }
};

// The Options dialog's window with its seven lists.
class FakeOptionsView : public IOptionsView {
public:
    static constexpr WindowHandle kWindow = 0x0F7;
    explicit FakeOptionsView(Log& log) : log_(log) {}
    std::array<int, 7> positions{-1, -1, -1, -1, -1, -1, -1};
    WindowHandle Handle() const override { return kWindow; }
    int SelectedPosition(int row) override { return positions.at(static_cast<std::size_t>(row)); }
    void SelectPosition(int row, int position) override {
        positions.at(static_cast<std::size_t>(row)) = position;
    }
    void Close() override { log_.push_back("close"); }

private:
    Log& log_;
};

// A one-level registry: values by name in keys by path, handles counted from 100. A key
// still open when the fake goes fails the test.
class FakeRegistryApi : public IRegistryApi {
public:
    struct Value {
        std::uint32_t type;
        std::string bytes;
    };
    explicit FakeRegistryApi(Log& log) : log_(log) {}
    ~FakeRegistryApi() override { EXPECT_EQ(open_.size(), 0u) << "a registry key was left open"; }
    FakeRegistryApi(const FakeRegistryApi&) = delete;
    FakeRegistryApi& operator=(const FakeRegistryApi&) = delete;
    std::map<std::string, std::map<std::string, Value>> keys;
    std::map<std::string, long> failures; // "call#n" (n-th call of that name) -> status
    Log& log_;

    long RegCreateKeyExW(RegKey root, std::string_view sub, std::uint32_t reserved, const char* cls,
                         std::uint32_t options, std::uint32_t access, const RegSecurity* sa,
                         RegKey* result, std::uint32_t*) override {
        Record("create " + Hex(root) + " " + std::string(sub) + " " + std::to_string(reserved) +
               (cls ? " class" : " noclass") + " " + std::to_string(options) + " " + Hex(access) +
               (sa ? (sa->hasDescriptor ? " sd" : " nosd") +
                         std::string(sa->inheritHandle ? " inherit" : " noinherit")
                   : " nosa"));
        if (long f = Failure("create")) {
            return f;
        }
        keys[std::string(sub)];
        return Open(sub, result);
    }
    long RegSetValueExW(RegKey key, std::string_view name, std::uint32_t reserved,
                        std::uint32_t type, const std::uint8_t* data, std::uint32_t size) override {
        Record("set " + std::to_string(key) + " " + std::string(name) + " " +
               std::to_string(reserved) + " " + std::to_string(type) + " " + std::to_string(size));
        if (long f = Failure("set")) {
            return f;
        }
        keys[open_.at(key)][std::string(name)] = {
            type, std::string(reinterpret_cast<const char*>(data), size)};
        return 0;
    }
    long RegOpenKeyExW(RegKey root, std::string_view sub, std::uint32_t options,
                       std::uint32_t access, RegKey* result) override {
        Record("open " + Hex(root) + " " + std::string(sub) + " " + std::to_string(options) + " " +
               Hex(access));
        if (long f = Failure("open")) {
            return f;
        }
        return keys.count(std::string(sub)) ? Open(sub, result) : reg::kFileNotFound;
    }
    long RegQueryValueExW(RegKey key, std::string_view name, std::uint32_t* type,
                          std::uint8_t* data, std::uint32_t* size) override {
        Record("query " + std::to_string(key) + " " + std::string(name) + (type ? " type" : "") +
               (data ? " data " : " nodata ") + std::to_string(*size));
        if (long f = Failure("query")) {
            return f;
        }
        auto& values = keys[open_.at(key)];
        auto it = values.find(std::string(name));
        if (it == values.end()) {
            return reg::kFileNotFound;
        }
        const std::string& bytes = it->second.bytes;
        if (type) {
            *type = it->second.type;
        }
        if (data && *size < bytes.size()) {
            *size = static_cast<std::uint32_t>(bytes.size());
            return reg::kMoreData;
        }
        if (data) {
            std::memcpy(data, bytes.data(), bytes.size());
        }
        const std::uint32_t lie = data ? reportedDataSize : reportedSize;
        *size = lie ? lie : static_cast<std::uint32_t>(bytes.size());
        return 0;
    }
    long RegDeleteValueW(RegKey key, std::string_view name) override {
        Record("delete " + std::to_string(key) + " " + std::string(name));
        if (long f = Failure("delete")) {
            return f;
        }
        return keys[open_.at(key)].erase(std::string(name)) ? 0 : reg::kFileNotFound;
    }
    long RegCloseKey(RegKey key) override {
        Record("close " + std::to_string(key));
        return open_.erase(key) ? 0 : 6;
    }
    std::size_t OpenHandles() const { return open_.size(); }
    std::uint32_t reportedSize = 0;     // a lying size for the type-and-size question
    std::uint32_t reportedDataSize = 0; // a lying size after a read of the data

private:
    static std::string Hex(std::uintptr_t v) {
        char text[20];
        std::snprintf(text, sizeof text, "%llx", static_cast<unsigned long long>(v));
        return text;
    }
    void Record(std::string call) {
        ++counts_[call.substr(0, call.find(' '))];
        log_.push_back(std::move(call));
    }
    long Failure(const std::string& name) {
        auto it = failures.find(name + "#" + std::to_string(counts_[name]));
        return it == failures.end() ? 0 : it->second;
    }
    long Open(std::string_view sub, RegKey* result) {
        *result = next_++;
        open_[*result] = std::string(sub);
        return 0;
    }
    std::map<std::string, int> counts_;
    std::map<RegKey, std::string> open_;
    RegKey next_ = 100;
};

} // namespace halcyra::test
