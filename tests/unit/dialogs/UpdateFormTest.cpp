#include "dialogs/UpdateForm.h"

#include "dialogs/MakerAddresses.h"
#include "support/RecordingPlatform.h"

#include <gtest/gtest.h>

namespace halcyra::dialogs::test {
namespace {

TEST(UpdateForm, CheckOpensTheProductPageEachTimeAndStaysOpen) {
    RecordingPlatform fake;
    UpdateForm form(42, fake, fake);
    form.CommandCheck_Click();
    form.CommandCheck_Click();
    const std::string open = "OpenWithShell 42 open " + std::string(kProductPage) + " 1";
    EXPECT_EQ(fake.log, (std::vector<std::string>{open, open}));
    form.CommandClose_Click();
    EXPECT_EQ(fake.log.back(), "Unload");
}

} // namespace
} // namespace halcyra::dialogs::test
