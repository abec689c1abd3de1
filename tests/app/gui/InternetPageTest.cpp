// The "인터넷 연결" page: its place in the sheet, the values it shows and stores, the connection
// list from dial-up networking, and the text that changes for the service's own connection.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>

#include "app/gui/CCommSheet.h"
#include "link/InternetSettings.h"
#include "platform/PollEventLoop.h"
#include "tests/app/gui/DialogTestSupport.h"
#include "tests/fixtures/FakeDialupBackend.h"

namespace {

class InternetPageTest : public DialogTest {
protected:
    InternetPageTest() { dialup.names = {"Netquay", "isp"}; }

    PollEventLoop loop;
    FakeDialupBackend dialup{loop};
};

TEST_F(InternetPageTest, ShowsAndStoresTheSettings) {
    ASSERT_TRUE(StoreInternetSettings(*registry, {true, false, false, "isp"}));
    CCommSheet sheet({*registry, prompt, nullptr, nullptr, {}, &dialup});
    EXPECT_EQ(sheet.Tabs()->tabText(2), "인터넷 연결");
    CommSheetPage* page = sheet.Page("인터넷 연결");
    ASSERT_TRUE(page);

    auto* autodial = control<QCheckBox>(*page, "autodial");
    auto* profile = control<QComboBox>(*page, "profile");
    auto* explanation = control<QLabel>(*page, "explanation");
    auto* askFirst = control<QCheckBox>(*page, "askFirst");
    EXPECT_FALSE(autodial->isChecked());
    EXPECT_FALSE(profile->isEnabled());
    EXPECT_FALSE(control<QPushButton>(*page, "properties")->isEnabled());
    EXPECT_EQ(profile->count(), 2);
    EXPECT_EQ(profile->currentText(), "isp");
    EXPECT_TRUE(askFirst->isChecked());
    EXPECT_FALSE(explanation->text().contains("Netquay"));

    autodial->setChecked(true);
    EXPECT_TRUE(profile->isEnabled());
    EXPECT_TRUE(control<QPushButton>(*page, "properties")->isEnabled());
    profile->setCurrentText("Netquay");
    EXPECT_TRUE(explanation->text().startsWith("Netquay"));
    askFirst->setChecked(false);
    sheet.Apply();
    const InternetSettings stored = LoadInternetSettings(*registry);
    EXPECT_TRUE(stored.autodial);
    EXPECT_EQ(stored.profile, "Netquay");
    EXPECT_FALSE(stored.askFirst);
    EXPECT_FALSE(stored.offerNetquay);  // kept as it was
}

TEST_F(InternetPageTest, NoPageWithoutDialupNetworking) {
    CCommSheet sheet({*registry, prompt});
    EXPECT_EQ(sheet.Page("인터넷 연결"), nullptr);
}

}  // namespace
