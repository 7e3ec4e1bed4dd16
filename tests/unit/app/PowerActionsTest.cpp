// The nine power actions: the question, the family's path and the exact platform requests.
#include <gtest/gtest.h>

#include <algorithm>

#include "support/FormFakes.h"

namespace halcyra::test {
namespace {

struct ActionRow {
    const char* name;
    ActionOutcome (HalcyraForm::*handler)(bool askFirst, FailureBox failures);
    const char* question;           // nullptr: never asks
    std::vector<std::string> nt;    // power requests after the privilege on the NT family
    std::vector<std::string> older; // on the older family
    bool privilege;                 // enables the privilege first on the NT family
    const char* failure;            // what the report of a refused request says could not be done
    bool capabilities = false;      // asks what the machine can do before the question
};

const std::vector<ActionRow>& Rows() {
    static const std::vector<ActionRow> rows{
        {"Shutdown",
         &HalcyraForm::menu_Shutdown_Click,
         "Are you sure you want to shutdown?",
         {"power.ExitWindowsEx(8, 0)"},
         {"power.ExitWindowsEx(8, 0)"},
         true,
         "shut down the computer"},
        {"Restart",
         &HalcyraForm::mnu_Restart_Click,
         "Are you sure you want to restart?",
         {"power.ExitWindowsEx(2, 0)"},
         {"power.ExitWindowsEx(2, 0)"},
         true,
         "restart the computer"},
        {"Logoff",
         &HalcyraForm::mnu_Logoff_Click,
         "Are you sure you want to log off?",
         {"power.ExitWindowsEx(0, 0)"},
         {"power.ExitWindowsEx(0, 0)"},
         true,
         "log you off"},
        {"Standby",
         &HalcyraForm::mnu_Standby_Click,
         "Are you sure you want to standby?",
         {"power.SetSuspendState(FALSE, FALSE, FALSE)"},
         {"power.SetSystemPowerState(TRUE, FALSE)"},
         true,
         "put the computer on standby",
         true},
        {"Hibernate",
         &HalcyraForm::mnu_Hibernate_Click,
         "Are you sure you want to hibernate?",
         {"power.SetSuspendState(TRUE, FALSE, FALSE)"},
         {"power.SetSuspendState(TRUE, FALSE, FALSE)"},
         true,
         "hibernate the computer",
         true},
        {"ForcedShutdown",
         &HalcyraForm::mnu_shtdnnow_Click,
         "Are you sure you want to force a shutdown?",
         {"power.ExitWindowsEx(12, 0)"},
         {"power.ExitWindowsEx(12, 0)"},
         true,
         "force a shutdown"},
        {"ForcedRestart",
         &HalcyraForm::mnu_rstrtnow_Click,
         "Are you sure you want to force a restart?",
         {"power.ExitWindowsEx(6, 0)"},
         {"power.ExitWindowsEx(6, 0)"},
         true,
         "force a restart"},
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
    Log out;
    if (row.capabilities) {
        out.push_back("power.GetPwrCapabilities");
    }
    out.push_back("power.GetVersionExA(size 148)");
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
            b.Start("", false);
            (b.form.*row.handler)(true, FailureBox::Shown);
            EXPECT_TRUE(Boxes(b.log).empty());
            EXPECT_EQ(Requests(b.log), Expected(row, nt));
        }
    }
}

TEST(PowerActions, WithConfirmationOnYesGoesAheadAndNoDoesNothing) {
    for (const auto& row : Rows()) {
        SCOPED_TRACE(row.name);
        FormBench b;
        b.Start(); // an empty store: confirmation on
        ASSERT_TRUE(AsksFirst(b));
        b.log.clear();

        const std::string question =
            "Ask(0x1234, " + std::string(row.question) + ", Halcyra, Question)";
        const Log asked =
            row.capabilities ? Log{"power.GetPwrCapabilities", question} : Log{question};
        for (const Answer notYes : {Answer::No, Answer::None}) { // a box not shown is no Yes
            b.log.clear();
            b.prompt.answers = {notYes};
            (b.form.*row.handler)(true, FailureBox::Shown);
            EXPECT_EQ(b.log, asked);
        }

        b.log.clear();
        b.prompt.answers = {Answer::Yes};
        (b.form.*row.handler)(true, FailureBox::Shown);
        EXPECT_EQ(Boxes(b.log), Log{question}) << "asked once, nothing reported";
        EXPECT_EQ(Requests(b.log), Expected(row, true));
    }
}

TEST(PowerActions, AFailedVersionQueryTakesTheOlderFamilysPath) {
    FormBench b;
    b.power.versionFails = true;
    b.Start("", false);
    b.form.mnu_Standby_Click();
    b.form.mnu_Logoff_Click();
    EXPECT_EQ(Requests(b.log), (Log{"power.GetPwrCapabilities", "power.GetVersionExA(size 148)",
                                    "power.SetSystemPowerState(TRUE, FALSE)",
                                    "power.GetVersionExA(size 148)", "power.ExitWindowsEx(0, 0)"}));
}

TEST(PowerActions, ARefusedTokenStillMakesThePowerRequest) {
    FormBench b;
    b.power.tokenOpens = false;
    b.Start("", false);
    b.form.menu_Shutdown_Click();
    const Log requests = Requests(b.log);
    ASSERT_FALSE(requests.empty());
    EXPECT_EQ(requests.back(), "power.ExitWindowsEx(8, 0)");
    EXPECT_TRUE(Only(b.log, "power.CloseHandle").empty()) << "nothing was opened to close";
}

TEST(PowerActions, MonitorOffScreenSaverAndLockNeverAskAndWorkWhileHidden) {
    for (const char* confirm : {"0", "1"}) {
        FormBench b;
        b.settings.values["Confirm"] = confirm;
        b.Start("/start");
        ASSERT_FALSE(b.view.visible);
        b.form.mnu_Monitor_Click();
        b.form.mnu_ScreenSaver_Click();
        b.form.mnu_Lock_Click();
        EXPECT_EQ(b.log, (Log{"SendSystemCommand(0x1234, 0xF170, 2)",
                              "SendSystemCommand(0x1234, 0xF140, 0)", "power.LockWorkStation"}));
    }
}

TEST(PowerActions, NoActionEverPassesPlainShutdown) {
    FormBench b;
    b.Start("", false);
    for (const auto& row : Rows()) {
        (b.form.*row.handler)(true, FailureBox::Shown);
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
    EXPECT_TRUE(Boxes(b.log).empty());

    b.view.checkRequest = 1;
    b.form.CheckRequest_Click();
    EXPECT_EQ(b.settings.values["Confirm"], "1");
    b.prompt.answers = {Answer::No};
    b.form.mnu_Restart_Click();
    EXPECT_EQ(Boxes(b.log).size(), 1u);
}

TEST(PowerActions, StandbyFollowsWhatTheMachineCanDo) {
    const std::string unavailable =
        "Tell(0x1234, Standby is not available on this computer. You can use Hibernate or "
        "Shutdown instead., Halcyra, Information)";
    const std::string question = "Ask(0x1234, Are you sure you want to standby?, Halcyra, "
                                 "Question)";
    Log suspend{"power.GetVersionExA(size 148)"};
    suspend.insert(suspend.end(), kPrivilege.begin(), kPrivilege.end());
    suspend.push_back("power.SetSuspendState(FALSE, FALSE, FALSE)");
    const Log displayOff{"Sleep(400)", "SendSystemCommand(0x1234, 0xF170, 2)"};
    const struct {
        const char* name;
        std::optional<PowerCapabilities> caps; // S1, S2, S3, S4, file, AoAc
        Log expected;                          // after the capability query, with Yes answered
    } rows[] = {
        {"S3", PowerCapabilities{false, false, true, true, true, false}, suspend},
        {"S1 only", PowerCapabilities{true, false, false, false, false, false}, suspend},
        {"S3 beside modern standby", PowerCapabilities{false, false, true, false, false, true},
         suspend},
        {"modern standby", PowerCapabilities{false, false, false, true, true, true}, displayOff},
        {"neither", PowerCapabilities{false, false, false, true, true, false}, {unavailable}},
        {"capabilities unknown", std::nullopt, suspend},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        FormBench b;
        b.power.capabilities = row.caps;
        b.Start(); // confirmation on
        b.form.mnu_Standby_Click();
        Log expected{"power.GetPwrCapabilities"};
        if (row.expected.front() != unavailable) {
            expected.push_back(question);
        }
        expected.insert(expected.end(), row.expected.begin(), row.expected.end());
        EXPECT_EQ(b.log, expected);
    }
}

TEST(PowerActions, HibernateIsOnlyRequestedWhereItIsNotKnownToBeOff) {
    const std::string unavailable =
        "Tell(0x1234, Hibernate is not available on this computer. It can be turned on in "
        "the system's power options., Halcyra, Information)";
    const struct {
        const char* name;
        std::optional<PowerCapabilities> caps;
        bool requested;
    } rows[] = {
        {"S4 with its file", PowerCapabilities{false, false, true, true, true, false}, true},
        {"hibernation turned off", PowerCapabilities{false, false, true, true, false, false},
         false},
        {"no S4", PowerCapabilities{false, false, true, false, true, false}, false},
        {"capabilities unknown", std::nullopt, true},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        FormBench b;
        b.power.capabilities = row.caps;
        b.Start("", false);
        b.form.mnu_Hibernate_Click();
        EXPECT_EQ(Only(b.log, "power.SetSuspendState").size(), row.requested ? 1u : 0u);
        EXPECT_EQ(Boxes(b.log), row.requested ? Log{} : Log{unavailable});
    }
}

TEST(PowerActions, ARefusedRequestIsReportedOnceWithTheSystemsReason) {
    const std::map<std::string, std::string> callOf{
        {"Shutdown", "ExitWindowsEx"},      {"Restart", "ExitWindowsEx"},
        {"Logoff", "ExitWindowsEx"},        {"Standby", "SetSuspendState"},
        {"Hibernate", "SetSuspendState"},   {"ForcedShutdown", "ExitWindowsEx"},
        {"ForcedRestart", "ExitWindowsEx"},
    };
    const struct {
        std::uint32_t error;
        std::string reason;
    } errors[] = {
        {5, "system text 5"},
        {0, "The system refused the request without giving a reason."},
        {FakePower::kUnknownError, "The system reported error 57005."},
    };
    for (const auto& row : Rows()) {
        for (const auto& e : errors) {
            SCOPED_TRACE(std::string(row.name) + " error " + std::to_string(e.error));
            FormBench b;
            b.power.failing[callOf.at(row.name)] = e.error;
            b.Start("", false);
            (b.form.*row.handler)(true, FailureBox::Shown);
            const Log reports = Boxes(b.log);
            EXPECT_EQ(reports,
                      Log{"Tell(0x1234, Halcyra could not " + std::string(row.failure) + ".\n\n" +
                          e.reason +
                          "\n\nYou can try again or use the Start menu., Halcyra, Exclamation)"});
            // The error is read straight after the refused call, and the text only for a number.
            const auto request = std::find(b.log.begin(), b.log.end(), Expected(row, true).back());
            ASSERT_NE(request, b.log.end());
            ASSERT_NE(request + 1, b.log.end());
            EXPECT_EQ(*(request + 1), "power.GetLastError");
            EXPECT_EQ(Only(b.log, "power.ErrorText").size(), e.error != 0 ? 1u : 0u);
        }
    }
}

TEST(PowerActions, StandbysOtherRequestsAreReportedTooAndAMissingLibraryOnlyOnce) {
    const struct {
        std::uint32_t platformId;
        const char* call;
        std::uint32_t error;
        bool capabilitiesKnown; // unknown: the library itself could not be loaded
    } rows[] = {{1, "SetSystemPowerState", 50, true}, {2, "SetSuspendState", 126, false}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.call);
        FormBench b;
        b.power.platformId = row.platformId;
        b.power.failing[row.call] = row.error;
        if (!row.capabilitiesKnown) {
            b.power.capabilities.reset();
        }
        b.Start("", false);
        b.form.mnu_Standby_Click();
        EXPECT_EQ(Boxes(b.log),
                  Log{"Tell(0x1234, Halcyra could not put the computer on standby.\n\nsystem "
                      "text " +
                      std::to_string(row.error) +
                      "\n\nYou can try again or use the Start menu., Halcyra, Exclamation)"});
    }
}

TEST(PowerActions, RunActionAsksOnlyWhenToldAndSaysHowItEnded) {
    const struct {
        MenuEntry entry;
        bool askFirst;
        Answer answer;       // to the question, when one is asked
        const char* failing; // a refused platform call, or nullptr
        bool hibernationOff; // the machine reports no hibernation
        ActionOutcome outcome;
        std::size_t questions;
        // A hand-started Force a Shutdown while the run's failure box is open: it asks as the
        // user set it, whatever the run was told.
        bool handStartedWhileBoxOpen = false;
        // Unattended (/quiet, also through a running copy): a failure opens no box.
        FailureBox failures = FailureBox::Shown;
    } rows[] = {
        {MenuEntry::Shutdown, true, Answer::Yes, nullptr, false, ActionOutcome::Done, 1},
        {MenuEntry::Shutdown, true, Answer::No, nullptr, false, ActionOutcome::Declined, 1},
        {MenuEntry::Shutdown, false, Answer::No, nullptr, false, ActionOutcome::Done, 0},
        {MenuEntry::RstrtNow, false, Answer::No, "ExitWindowsEx", false, ActionOutcome::Refused, 0},
        {MenuEntry::Hibernate, false, Answer::No, nullptr, true, ActionOutcome::Refused, 0},
        {MenuEntry::Monitor, true, Answer::No, nullptr, false, ActionOutcome::Done, 0},
        // Wine refuses to lock with error 120: told like any refusal.
        {MenuEntry::Lock, true, Answer::No, "LockWorkStation", false, ActionOutcome::Refused, 0},
        {MenuEntry::Shutdown, false, Answer::No, "ExitWindowsEx", false, ActionOutcome::Refused, 1,
         true},
        {MenuEntry::Lock, false, Answer::No, "LockWorkStation", false, ActionOutcome::Refused, 0,
         false, FailureBox::NotShown},
        {MenuEntry::Hibernate, false, Answer::No, nullptr, true, ActionOutcome::Refused, 0, false,
         FailureBox::NotShown},
        {MenuEntry::Monitor, false, Answer::No, nullptr, false, ActionOutcome::Done, 0, false,
         FailureBox::NotShown},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(static_cast<int>(row.entry));
        FormBench b;
        if (row.failing != nullptr) {
            b.power.failing[row.failing] = 5;
        }
        if (row.hibernationOff) {
            b.power.capabilities = PowerCapabilities{false, false, true, false, false, false};
        }
        b.Start(); // confirmation on
        b.prompt.answers = {row.answer};
        if (row.handStartedWhileBoxOpen) {
            b.prompt.whileTellOpen = [&] { b.form.MenuClick(MenuEntry::ShtdnNow); };
        }
        EXPECT_EQ(b.form.RunAction(row.entry, row.askFirst, row.failures), row.outcome);
        const bool told = row.outcome == ActionOutcome::Refused;
        const bool quiet = row.failures == FailureBox::NotShown;
        EXPECT_EQ(Only(b.log, "Tell(").size(), told && !quiet ? 1u : 0u);
        EXPECT_EQ(Only(b.log, "DebugOutput(Halcyra").size(), told && quiet ? 1u : 0u);
        if (row.handStartedWhileBoxOpen) {
            EXPECT_TRUE(Only(b.log, "power.ExitWindowsEx(12").empty()) << "answered No";
        }
        EXPECT_EQ(Only(b.log, "Ask(").size(), row.questions);
        // The next menu click asks again.
        b.log.clear();
        b.prompt.answers = {Answer::No};
        b.form.menu_Shutdown_Click();
        EXPECT_EQ(Only(b.log, "Ask(").size(), 1u);
    }
}

} // namespace
} // namespace halcyra::test
