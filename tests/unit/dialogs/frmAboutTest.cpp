#include "dialogs/frmAbout.h"

#include "dialogs/MakerAddresses.h"
#include "support/RecordingPlatform.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace halcyra::dialogs::test {
namespace {

constexpr WindowHandle kSelf = 77;

bool Contains(const std::vector<std::string>& log, const std::string& prefix) {
    return std::any_of(log.begin(), log.end(),
                       [&](const std::string& line) { return line.rfind(prefix, 0) == 0; });
}

TEST(frmAbout, LoadFillsCaptionTitleAndVersion) {
    RecordingPlatform fake;
    frmAbout about(kSelf, fake.Platform());
    about.Form_Load();
    EXPECT_EQ(fake.texts["Caption"], "About Halcyra");
    EXPECT_EQ(fake.texts["Title"], "Halcyra");
    EXPECT_EQ(fake.texts["Version"], "Version 1.3.2");
}

TEST(frmAbout, VersionNumbersArePlainDecimal) {
    EXPECT_EQ(VersionText(1, 3, 2), "Version 1.3.2");
    EXPECT_EQ(VersionText(10, 0, 25), "Version 10.0.25");
    EXPECT_EQ(VersionText(0, 0, 0), "Version 0.0.0");
}

enum class Move { Email, Web, Update, Background };

struct HoverRow {
    const char* name;
    std::vector<Move> moves;
    Colour email, web, update;
};

class frmAboutHover : public ::testing::TestWithParam<HoverRow> {};

TEST_P(frmAboutHover, ColoursFollowThePointer) {
    RecordingPlatform fake;
    frmAbout about(kSelf, fake.Platform());
    for (Move move : GetParam().moves) {
        switch (move) {
        case Move::Email:
            about.EmailQuorvix_MouseMove();
            break;
        case Move::Web:
            about.QuorvixWebSite_MouseMove();
            break;
        case Move::Update:
            about.Update_MouseMove();
            break;
        case Move::Background:
            about.Form_MouseMove();
            break;
        }
    }
    EXPECT_EQ(about.LinkColour(AboutLink::EmailQuorvix), GetParam().email);
    EXPECT_EQ(about.LinkColour(AboutLink::QuorvixWebSite), GetParam().web);
    EXPECT_EQ(about.LinkColour(AboutLink::Update), GetParam().update);
}

constexpr Colour B = kLinkAtRest;
constexpr Colour R = kLinkUnderPointer;

INSTANTIATE_TEST_SUITE_P(
    Moves, frmAboutHover,
    ::testing::Values(HoverRow{"NothingYet", {}, B, B, B},
                      HoverRow{"OverMail", {Move::Email}, R, B, B},
                      HoverRow{"OverUpdate", {Move::Update}, B, B, R},
                      // Leaving one link for another (no background between) keeps both red.
                      HoverRow{"MailThenWeb", {Move::Email, Move::Web}, R, R, B},
                      HoverRow{"AllThree", {Move::Email, Move::Web, Move::Update}, R, R, R},
                      HoverRow{"BackgroundClearsAll",
                               {Move::Email, Move::Web, Move::Update, Move::Background},
                               B,
                               B,
                               B},
                      HoverRow{"BackAgain", {Move::Web, Move::Background, Move::Web}, B, R, B},
                      HoverRow{"BackgroundOnly", {Move::Background, Move::Background}, B, B, B}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(frmAbout, ColourChangesReachTheWindowOnlyWhenTheyChange) {
    RecordingPlatform fake;
    frmAbout about(kSelf, fake.Platform());
    about.Form_MouseMove();
    about.EmailQuorvix_MouseMove();
    about.EmailQuorvix_MouseMove();
    about.Form_MouseMove();
    about.Form_MouseMove();
    EXPECT_EQ(fake.log, (std::vector<std::string>{"EmailQuorvix red", "EmailQuorvix blue"}));
}

TEST(frmAbout, ClickedLinkTurnsBlueBeforeItActs) {
    const std::string mail = "OpenWithShell 77 open mailto:" + std::string(kMakerMail) + " 1";
    const std::string web = "OpenWithShell 77 open " + std::string(kMakerWebSite) + " 1";
    {
        RecordingPlatform fake;
        frmAbout about(kSelf, fake.Platform());
        about.EmailQuorvix_MouseMove();
        about.QuorvixWebSite_MouseMove();
        about.EmailQuorvix_Click();
        EXPECT_EQ(fake.log, (std::vector<std::string>{"EmailQuorvix red", "QuorvixWebSite red",
                                                      "EmailQuorvix blue", mail}));
        // Only the clicked link changes.
        EXPECT_EQ(about.LinkColour(AboutLink::QuorvixWebSite), kLinkUnderPointer);
    }
    {
        RecordingPlatform fake;
        frmAbout about(kSelf, fake.Platform());
        about.QuorvixWebSite_MouseMove();
        about.QuorvixWebSite_Click();
        about.QuorvixWebSite_Click();
        EXPECT_EQ(fake.log, (std::vector<std::string>{"QuorvixWebSite red", "QuorvixWebSite blue",
                                                      web, web}));
    }
    {
        RecordingPlatform fake;
        frmAbout about(kSelf, fake.Platform());
        about.Update_MouseMove();
        about.Update_Click();
        EXPECT_EQ(fake.log,
                  (std::vector<std::string>{"Update red", "Update blue", "ShowUpdateDialog 77"}));
    }
}

TEST(frmAbout, OkUnloadsAndNothingElse) {
    RecordingPlatform fake;
    frmAbout about(kSelf, fake.Platform());
    about.cmdOK_Click();
    EXPECT_EQ(fake.log, (std::vector<std::string>{"Unload"}));
}

const std::string kInfoKey = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
const std::string kLocationKey = "SOFTWARE\\Microsoft\\Shared Tools Location";
const std::string kUnavailable =
    "Tell(0x4D, System Information Is Unavailable At This Time, Halcyra, None)";

using StoredValue = halcyra::test::FakeRegistryApi::Value;

struct SysInfoRow {
    const char* name;
    std::map<std::string, StoredValue> values; // "key path|value name"
    std::set<std::string> files;
    bool startSucceeds;
    const char* started; // nullptr: nothing started
    bool message;
    bool checksFile;
};

class frmAboutSysInfo : public ::testing::TestWithParam<SysInfoRow> {};

TEST_P(frmAboutSysInfo, StartsTheProgramOrSaysItIsUnavailable) {
    const SysInfoRow& row = GetParam();
    RecordingPlatform fake;
    for (const auto& [where, value] : row.values) {
        const auto bar = where.find('|');
        fake.registry.keys[where.substr(0, bar)][where.substr(bar + 1)] = value;
    }
    fake.files = row.files;
    fake.startSucceeds = row.startSucceeds;
    frmAbout about(kSelf, fake.Platform());
    about.cmdSysInfo_Click();

    std::vector<std::string> starts;
    for (const auto& line : fake.log) {
        if (line.rfind("Start ", 0) == 0) {
            starts.push_back(line);
        }
    }
    if (row.started) {
        EXPECT_EQ(starts, (std::vector<std::string>{"Start " + std::string(row.started) + " 1"}));
    } else {
        EXPECT_TRUE(starts.empty());
    }
    EXPECT_EQ(Contains(fake.log, kUnavailable), row.message);
    EXPECT_EQ(Contains(fake.log, "IsOrdinaryFile"), row.checksFile);
    EXPECT_FALSE(Contains(fake.log, "Unload")) << "the dialog stays open";
    EXPECT_EQ(fake.registry.OpenHandles(), 0u) << "every opened key is closed";
    // Both keys are opened for reading only.
    for (const auto& line : fake.log) {
        if (line.rfind("open ", 0) == 0) {
            EXPECT_TRUE(line.rfind("open 80000002 SOFTWARE\\Microsoft\\Shared Tools", 0) == 0)
                << line;
            EXPECT_TRUE(line.ends_with(" 0 1")) << line;
        }
    }
}

StoredValue Sz(const std::string& text) {
    return {reg::kTypeSz, text + '\0'};
}

INSTANTIATE_TEST_SUITE_P(
    Paths, frmAboutSysInfo,
    ::testing::Values(
        // The first value is used as it stands, without looking for the file.
        SysInfoRow{"FirstValue",
                   {{kInfoKey + "|PATH", Sz("C:\\Tools\\msinfo32.exe")}},
                   {},
                   true,
                   "C:\\Tools\\msinfo32.exe",
                   false,
                   false},
        SysInfoRow{"FirstValueWinsOverSecond",
                   {{kInfoKey + "|PATH", Sz("C:\\A\\msinfo32.exe")},
                    {kLocationKey + "|MSINFO", Sz("C:\\B")}},
                   {"C:\\B\\MSINFO32.EXE"},
                   true,
                   "C:\\A\\msinfo32.exe",
                   false,
                   false},
        SysInfoRow{"SecondValueWithFile",
                   {{kLocationKey + "|MSINFO", Sz("C:\\MSInfo")}},
                   {"C:\\MSInfo\\MSINFO32.EXE"},
                   true,
                   "C:\\MSInfo\\MSINFO32.EXE",
                   false,
                   true},
        SysInfoRow{"SecondValueFileMissing",
                   {{kLocationKey + "|MSINFO", Sz("C:\\MSInfo")}},
                   {},
                   true,
                   nullptr,
                   true,
                   true},
        // The first key exists but lacks the value: the key is closed and the second tried.
        SysInfoRow{"FirstKeyWithoutValue",
                   {{kInfoKey + "|Other", Sz("x")}, {kLocationKey + "|MSINFO", Sz("C:\\M")}},
                   {"C:\\M\\MSINFO32.EXE"},
                   true,
                   "C:\\M\\MSINFO32.EXE",
                   false,
                   true},
        // A value too long for the buffer is not read.
        SysInfoRow{"FirstValueTooLong",
                   {{kInfoKey + "|PATH", {reg::kTypeSz, std::string(1025, 'x')}}},
                   {},
                   true,
                   nullptr,
                   true,
                   false},
        SysInfoRow{"NeitherValue", {}, {}, true, nullptr, true, false},
        SysInfoRow{"StartFails",
                   {{kInfoKey + "|PATH", Sz("C:\\Gone\\msinfo32.exe")}},
                   {},
                   false,
                   "C:\\Gone\\msinfo32.exe",
                   true,
                   false}),
    [](const auto& row) { return std::string(row.param.name); });

} // namespace
} // namespace halcyra::dialogs::test
