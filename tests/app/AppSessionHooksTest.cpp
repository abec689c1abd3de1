// The program's session hooks: the internet connection is not there yet, and without a session
// to dial through the dialler stays shut.
#include <gtest/gtest.h>

#include "app/AppSessionHooks.h"
#include "platform/ScriptedPrompt.h"

namespace {

TEST(AppSessionHooks, AnInternetEntryIsRefusedWithAMessage) {
    ScriptedPrompt prompt;
    AppSessionHooks hooks(prompt);
    hooks.ConnectInternet({{"Title", "PPP"}, {"Type", "2"}});
    ASSERT_EQ(prompt.asked.size(), 1u);
    EXPECT_EQ(prompt.asked[0].text, "인터넷 연결 기능은 아직 사용할 수 없습니다.");

    hooks.DialEntry({{"Title", "BBS"}, {"Type", "0"}, {"Phone", ":01410::1"}});
    EXPECT_EQ(hooks.Dialer().Dialer(), nullptr);
    EXPECT_FALSE(hooks.OnLine("CONNECT 33600", false));
}

}  // namespace
