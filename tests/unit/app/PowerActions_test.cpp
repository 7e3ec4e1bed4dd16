// The nine power actions: the question, the family's path and the exact platform requests.
#include <gtest/gtest.h>

#include "FormFakes.h"

namespace halcyra::testing {
namespace {

struct ActionRow {
    const char* name;
    void (HalcyraForm::*handler)();
    const char* question;           // nullptr: never asks
    std::vector<std::string> nt;    // power requests after the privilege on the NT family
    std::vector<std::string> older; // on the older family
    bool privilege;                 // enables the privilege first on the NT family
};

const std::vector<ActionRow>& Rows() {
    static const std::vector<ActionRow> rows{
        {"Shutdown",
         &HalcyraForm::menu_Shutdown_Click,
         "Are you sure you want to shutdown?",
         {"power.ExitWindowsEx(8, 0)"},
         {"power.ExitWindowsEx(8, 0)"},
         true},
        {"Restart",
         &HalcyraForm::mnu_Restart_Click,
         "Are you sure you want to restart?",
         {"power.ExitWindowsEx(2, 0)"},
         {"power.ExitWindowsEx(2, 0)"},
         true},
        {"Logoff",
         &HalcyraForm::mnu_Logoff_Click,
         "Are you sure you want to log off?",
         {"power.ExitWindowsEx(0, 0)"},
         {"power.ExitWindowsEx(0, 0)"},
         true},
        {"Standby",
         &HalcyraForm::mnu_Standby_Click,
         "Are you sure you want to standby?",
         {"power.SetSuspendState(FALSE, FALSE, FALSE)"},
         {"power.SetSystemPowerState(TRUE, FALSE)"},
         true},
        {"Hibernate",
         &HalcyraForm::mnu_Hibernate_Click,
         "Are you sure you want to hibernate?",
         {"power.SetSuspendState(TRUE, FALSE, FALSE)"},
         {"power.SetSuspendState(TRUE, FALSE, FALSE)"},
         true},
        {"ForcedShutdown",
         &HalcyraForm::mnu_shtdnnow_Click,
         "Are you sure you want to force a shutdown?",
         {"power.ExitWindowsEx(12, 0)"},
         {"power.ExitWindowsEx(12, 0)"},
         true},
        {"ForcedRestart",
         &HalcyraForm::mnu_rstrtnow_Click,
         "Are you sure you want to force a restart?",
         {"power.ExitWindowsEx(6, 0)"},
         {"power.ExitWindowsEx(6, 0)"},
         true},
    };
    return rows;
}

const Log kPrivilege{
    "power.GetCurrentProcess",
    "power.OpenProcessToken(0xFFFFFFFFFFFFFFFF, 0x28)",
    "power.LookupPrivilegeValueA(\"\", SeShutdownPrivilege)",
    "power.AdjustTokenPrivileges(0x44, FALSE, count 1, luid 19, attr 2, 16, out)",
    "power.CloseHandle(0x44)",
};

Log Expected(const ActionRow& row, bool nt) {
    Log out{"power.GetVersionExA(size 148)"};
    if (nt && row.privilege) {
        out.insert(out.end(), kPrivilege.begin(), kPrivilege.end());
    }
    const auto& requests = nt ? row.nt : row.older;
    out.insert(out.end(), requests.begin(), requests.end());
    return out;
}

Log Requests(const Log& log) {
    return Only(log, "power.");
}

TEST(PowerActions, WithConfirmationOffNothingAsksAndTheFamilyChoosesTheRequests) {
    for (const auto& row : Rows()) {
        for (const bool nt : {true, false}) {
            SCOPED_TRACE(std::string(row.name) + (nt ? " on NT" : " on the older family"));
            FormBench b;
            b.power.platformId = nt ? 2 : 1;
            b.settings.values["Confirm"] = "0";
            b.Start();
            (b.form.*row.handler)();
            EXPECT_TRUE(Only(b.log, "MessageBox").empty());
            EXPECT_EQ(Requests(b.log), Expected(row, nt));
        }
    }
}

TEST(PowerActions, WithConfirmationOnYesGoesAheadAndNoDoesNothing) {
    for (const auto& row : Rows()) {
        SCOPED_TRACE(row.name);
        FormBench b;
        b.Start(); // an empty store: confirmation on
        ASSERT_EQ(b.form.ConfirmationFlag(), -1);

        b.windows.answers = {mb::kNo};
        (b.form.*row.handler)();
        EXPECT_EQ(b.log,
                  Log{"MessageBox(0x1234, " + std::string(row.question) + ", Halcyra, 0x24)"});

        b.log.clear();
        b.windows.answers = {mb::kYes};
        (b.form.*row.handler)();
        ASSERT_FALSE(b.log.empty());
        EXPECT_EQ(b.log.front(),
                  "MessageBox(0x1234, " + std::string(row.question) + ", Halcyra, 0x24)");
        EXPECT_EQ(Requests(b.log), Expected(row, true));
    }
}

TEST(PowerActions, AFailedVersionQueryTakesTheOlderFamilysPath) {
    FormBench b;
    b.power.versionFails = true;
    b.settings.values["Confirm"] = "0";
    b.Start();
    b.form.mnu_Standby_Click();
    b.form.mnu_Logoff_Click();
    EXPECT_EQ(Requests(b.log),
              (Log{"power.GetVersionExA(size 148)", "power.SetSystemPowerState(TRUE, FALSE)",
                   "power.GetVersionExA(size 148)", "power.ExitWindowsEx(0, 0)"}));
}

TEST(PowerActions, ARefusedTokenStillMakesThePowerRequest) {
    FormBench b;
    b.power.tokenOpens = false;
    b.settings.values["Confirm"] = "0";
    b.Start();
    b.form.menu_Shutdown_Click();
    const Log requests = Requests(b.log);
    ASSERT_FALSE(requests.empty());
    EXPECT_EQ(requests.back(), "power.ExitWindowsEx(8, 0)");
    EXPECT_TRUE(Only(b.log, "power.CloseHandle").empty()) << "nothing was opened to close";
}

TEST(PowerActions, MonitorOffAndScreenSaverNeverAskAndWorkWhileHidden) {
    for (const char* confirm : {"0", "1"}) {
        FormBench b;
        b.settings.values["Confirm"] = confirm;
        b.Start("/start");
        ASSERT_FALSE(b.view.visible);
        b.form.mnu_Monitor_Click();
        b.form.mnu_ScreenSaver_Click();
        EXPECT_EQ(b.log, (Log{"SendMessage(0x1234, 0x112, 0xF170, 2)",
                              "SendMessage(0x1234, 0x112, 0xF140, 0)"}));
    }
}

TEST(PowerActions, NoActionEverPassesPlainShutdown) {
    FormBench b;
    b.settings.values["Confirm"] = "0";
    b.Start();
    for (const auto& row : Rows()) {
        (b.form.*row.handler)();
    }
    for (const auto& line : Only(b.log, "power.ExitWindowsEx")) {
        EXPECT_NE(line, "power.ExitWindowsEx(1, 0)");
    }
}

TEST(PowerActions, ClearingTheConfirmationBoxStopsTheQuestionAndTickingBringsItBack) {
    FormBench b;
    b.Start();
    b.view.checkRequest = 0;
    b.form.CheckRequest_Click();
    EXPECT_EQ(b.settings.values["Confirm"], "0");
    b.form.mnu_Restart_Click();
    EXPECT_TRUE(Only(b.log, "MessageBox").empty());

    b.view.checkRequest = 1;
    b.form.CheckRequest_Click();
    EXPECT_EQ(b.settings.values["Confirm"], "1");
    b.windows.answers = {mb::kNo};
    b.form.mnu_Restart_Click();
    EXPECT_EQ(Only(b.log, "MessageBox").size(), 1u);
}

} // namespace
} // namespace halcyra::testing
