// The program's session hooks: before a session is attached the internet connection and the
// dialler stay shut.
#include <gtest/gtest.h>

#include "app/AppSessionHooks.h"
#include "platform/ScriptedPrompt.h"

namespace {

TEST(AppSessionHooks, NothingIsDialledWithoutASession) {
    ScriptedPrompt prompt;
    AppSessionHooks hooks(prompt);
    hooks.ConnectInternet("", "");
    EXPECT_TRUE(prompt.asked.empty());
    EXPECT_EQ(hooks.InternetConnection(), "");

    hooks.DialEntry({{"Title", "BBS"}, {"Type", "0"}, {"Phone", ":01410::1"}});
    EXPECT_EQ(hooks.Dialer().Dialer(), nullptr);
    EXPECT_FALSE(hooks.OnLine("CONNECT 33600", false));
}

}  // namespace
