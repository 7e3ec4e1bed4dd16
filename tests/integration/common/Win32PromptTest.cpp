// The system's box behind every question and message: text outside the ANSI code page arrives
// whole, each kind of box has its buttons and icon, and each button its answer.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>

#include "common/win32/Win32Prompt.h"
#include "support/DialogDriver.h"

namespace halcyra::test {
namespace {

constexpr const char* kTitle = "Win32Prompt under test";

std::wstring WideItemText(HWND box, int id) {
    wchar_t text[512] = {};
    ::GetDlgItemTextW(box, id, text, 512);
    return text;
}

TEST(Win32Prompt, ShowsUtf8TextWholeAndAnswersByTheButtonPressed) {
    // "Zoë – 日本.exe": a file name outside any one ANSI code page.
    const std::string text = "Zo\xC3\xAB \xE2\x80\x93 \xE6\x97\xA5\xE6\x9C\xAC.exe";
    const std::wstring shown = L"Zo\u00EB \u2013 \u65E5\u672C.exe";
    const struct {
        bool ask;
        MessageIcon icon;
        int button;
        Answer answer;
        std::size_t buttons;
        bool iconShown;
    } rows[] = {
        {true, MessageIcon::Question, IDYES, Answer::Yes, 2, true},
        {true, MessageIcon::Exclamation, IDNO, Answer::No, 2, true},
        {false, MessageIcon::Information, IDOK, Answer::None, 1, true},
        {false, MessageIcon::None, IDOK, Answer::None, 1, false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(static_cast<int>(row.icon));
        std::atomic<Answer> answer{Answer::None};
        std::thread ui([&] {
            win32::Win32Prompt prompt;
            if (row.ask) {
                answer = prompt.Ask(0, text, kTitle, row.icon);
            } else {
                prompt.Tell(0, text, kTitle, row.icon);
            }
        });
        const MessageBoxSeen box = FindMessageBox(kTitle);
        if (box.window) {
            EXPECT_EQ(WideItemText(box.window, 0xFFFF), shown);
            EXPECT_EQ(box.buttons.size(), row.buttons);
            EXPECT_EQ(box.icon, row.iconShown);
            ::SendMessageA(::GetDlgItem(box.window, row.button), BM_CLICK, 0, 0);
        }
        ui.join();
        ASSERT_TRUE(box.window) << "no box";
        EXPECT_EQ(answer, row.answer);
    }
}

} // namespace
} // namespace halcyra::test
