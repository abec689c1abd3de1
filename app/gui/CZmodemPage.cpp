#include "app/gui/CZmodemPage.h"

#include <QCheckBox>
#include <QVBoxLayout>

#include "app/gui/Named.h"
#include "auto/CSettingsSection.h"

const std::vector<ZmodemSetting>& zmodemSettings() {
    static const std::vector<ZmodemSetting> settings{
        {"AutoZmodemReceive", "호스트가 보내면 자동으로 받기(&R)", 1},
        {"AutoZmodemSend", "호스트가 받으려 하면 보낼 파일 묻기(&S)", 1},
        {"ChollianImage", "그림 전송 방식 2 사용(&C)", 1},
        {"ZmodemEscape", "모든 제어 문자를 이스케이프(&E)", 0},
        {"HitelImage", "호스트의 그림 전송 받기(&H)", 1},
        {"ZmodemImage", "받는 JPEG 그림을 받으면서 보기(&J)", 1},
        {"ZmodemCrashRecovery", "끊긴 파일 이어 받기(&V)", 1},
        {"ZmodemRealAudio", "소리 파일(.ra, .mp3, .vmi)을 받으면서 재생(&A)", 1},
    };
    return settings;
}

CZmodemPage::CZmodemPage(Registry& registry) : CommSheetPage("프로토콜"), registry_(registry) {
    auto* layout = new QVBoxLayout(this);
    CSettingsSection comm(registry_, "Comm");
    for (const ZmodemSetting& setting : zmodemSettings()) {
        auto* box = named(new QCheckBox(setting.label), setting.name);
        box->setChecked(comm.GetInt(setting.name, setting.defaultValue) != 0);
        boxes_.push_back(box);
        layout->addWidget(box);
    }
    layout->addStretch();
}

void CZmodemPage::Apply() {
    CSettingsSection comm(registry_, "Comm");
    for (size_t i = 0; i < boxes_.size(); ++i)
        comm.SetInt(zmodemSettings()[i].name, boxes_[i]->isChecked() ? 1 : 0);
}
