#include "app/CommandTable.h"

#include <cctype>

#include "auto/ServiceCommands.h"

namespace {

using G = MenuGroup;

Command command(int id, G group, std::string text, std::string status, std::string tip,
                std::string shortcut = "", char letter = 0, std::string label = "") {
    return Command{id,
                   group,
                   std::move(text),
                   std::move(status),
                   std::move(tip),
                   std::move(shortcut),
                   letter,
                   std::move(label)};
}

Command checkable(Command c) {
    c.checkable = true;
    return c;
}

Command separated(Command c) {
    c.separatorBefore = true;
    return c;
}

// The service commands' menu words, in the order of ServiceCommands(); the tool tip of those
// whose prompts have none.
const char* const kServiceMenuWords[] = {"초기 메뉴",   "상위 메뉴",   "이전 페이지", "다음 페이지",
                                         "이전 게시판", "다음 게시판", "이전 메시지", "다음 메시지",
                                         "목록 보기",   "연속 읽기",   "삭제",        "다운로드",
                                         "다시 전송",   "답장",        "읽기"};

// The service commands' prompts: the status text before "\n", the tool tip after it.
std::vector<Command> serviceCommands() {
    std::vector<Command> commands;
    const std::vector<ServiceCommand>& table = ServiceCommands();
    for (size_t i = 0; i < table.size(); ++i) {
        const std::string prompt = table[i].prompt;
        const size_t cut = prompt.find('\n');
        const std::string status = prompt.substr(0, cut);
        const std::string tip = cut == std::string::npos ? "" : prompt.substr(cut + 1);
        const int id = Cmd::ServiceCommand + static_cast<int>(i);
        std::string shortcut = id == Cmd::PreviousMessage ? "Ctrl+Alt+Left"
                               : id == Cmd::NextMessage   ? "Ctrl+Alt+Right"
                                                          : "";
        Command c = command(id, G::Move, kServiceMenuWords[i], status,
                            tip.empty() ? kServiceMenuWords[i] : tip, shortcut);
        c.separatorBefore = table[i].kind == ServiceCommand::Article && i > 0 &&
                            table[i - 1].kind == ServiceCommand::Move;
        commands.push_back(std::move(c));
    }
    commands.push_back(separated(command(Cmd::AddBookmark, G::Move, "책갈피 추가(&A)...",
                                         "현재 위치를 책갈피에 추가합니다.", "책갈피 추가")));
    commands.push_back(command(Cmd::EditBookmarks, G::Move, "책갈피 편집(&E)...",
                               "책갈피를 편집합니다.", "책갈피 편집", "", 'g', "책갈피"));
    commands.push_back(command(Cmd::RecentPlaces, G::Move, "최근 위치(&J)",
                               "최근에 간 위치와 본 메뉴를 봅니다.", "최근 위치", "", 'j',
                               "최근위치"));
    commands.push_back(command(Cmd::ServiceCommandList, G::Move, "이동 명령(&M)...",
                               "통신망의 이동 명령을 골라 보냅니다.", "이동 명령", "", 'n',
                               "이동명령"));
    commands.push_back(command(Cmd::ServiceRecord, G::Move, "통신망 등록 정보(&I)...",
                               "현재 통신망의 명령어를 편집합니다.", "통신망 등록 정보"));
    return commands;
}

std::vector<Command> makeTable() {
    std::vector<Command> table = {
        command(Cmd::ConnectHost, G::File, "호스트에 연결(&O)...", "텔넷 호스트에 연결합니다.",
                "호스트에 연결", "F4", 'c', "호스트"),
        command(Cmd::TelnetEntry, G::File, "텔넷 연결 항목(&T)...",
                "저장된 텔넷 연결 항목으로 연결합니다.", "텔넷 연결 항목", "", 'e', "텔넷 연결"),
        command(Cmd::ModemEntry, G::File, "모뎀 연결 항목(&M)...",
                "저장된 모뎀 연결 항목으로 전화를 겁니다.", "모뎀 연결 항목", "", 'd', "모뎀 연결"),
        command(Cmd::HangUp, G::File, "연결 끊기(&H)", "연결을 끊습니다.", "연결 끊기", "Ctrl+F8",
                'h', "끊기"),
        separated(command(Cmd::CaptureStart, G::File, "갈무리 시작(&L)", "갈무리를 시작합니다.",
                          "갈무리 시작 (Alt+L)", "Alt+L", 'l', "갈무리")),
        checkable(command(Cmd::CapturePause, G::File, "갈무리 잠시 중지(&P)",
                          "갈무리를 잠시 중지합니다.", "갈무리 중지")),
        command(Cmd::CaptureEnd, G::File, "갈무리 끝(&E)...", "갈무리를 끝냅니다.", "갈무리 끝"),
        command(Cmd::CaptureView, G::File, "갈무리 끝내고 보기(&V)",
                "갈무리를 끝내고 갈무리 내용을 봅니다.", "갈무리 보기"),
        checkable(command(Cmd::CaptureText, G::File, "보이는 글자 갈무리(&S)",
                          "화면상에 보이는 글자를 갈무리합니다.", "글자 갈무리")),
        checkable(command(Cmd::CaptureCode, G::File, "특수 코드까지 갈무리(&C)",
                          "화면상에 보이지 않는 특수 코드까지 갈무리합니다.", "코드 갈무리")),
        command(Cmd::SaveScreen, G::File, "화면 저장(&W)...",
                "현재 화면을 갈무리 내용 혹은 파일로 저장합니다.", "화면 저장"),
        separated(command(Cmd::FileManager, G::File, "송수신 목록(&F)...",
                          "받은 파일과 보낸 파일, 갈무리 파일의 목록을 봅니다.", "송수신 목록")),
        separated(command(Cmd::Exit, G::File, "끝내기(&X)", "프로그램을 끝냅니다.", "끝내기",
                          "Alt+F4", 'q', "끝내기")),

        command(Cmd::Copy, G::Edit, "복사(&C)", "선택 영역을 클립보드에 복사합니다.", "복사",
                "Ctrl+Ins"),
        command(Cmd::Paste, G::Edit, "붙여넣기(&P)", "클립보드의 내용을 호스트에 보냅니다.",
                "붙여넣기", "Shift+Ins"),
        separated(command(Cmd::CopyScreen, G::Edit, "화면 복사(&S)",
                          "현재 화면 내용을 클립보드에 복사합니다.", "화면 복사")),
        command(Cmd::CopyScrollback, G::Edit, "스크롤 버퍼 복사(&B)",
                "스크롤 버퍼 내용 전체를 클립보드에 복사합니다.", "스크롤 버퍼 복사"),
        separated(command(Cmd::RestoreColors, G::Edit, "터미널 색상 복구(&R)",
                          "터미날 색상을 원래대로 복구합니다.", "색상 복구")),

        checkable(command(Cmd::ToggleMenu, G::View, "메뉴 막대(&M)",
                          "메뉴 막대를 보이거나 숨깁니다.", "메뉴 막대")),
        checkable(command(Cmd::ToggleStatusBar, G::View, "상태 표시줄(&S)",
                          "상태 표시줄을 보이거나 숨깁니다.", "상태 표시줄")),
        checkable(command(Cmd::ToggleStdTool, G::View, "표준 도구 모음(&T)",
                          "표준 도구 모음을 보이거나 숨깁니다.", "표준 도구 모음")),
        checkable(command(Cmd::ToggleMoveTool, G::View, "이동 도구 모음(&O)",
                          "이동 도구 모음을 보이거나 숨깁니다.", "이동 도구 모음")),
        checkable(command(Cmd::ToggleExtTool, G::View, "확장 도구 모음(&X)",
                          "확장 도구 모음을 보이거나 숨깁니다.", "확장 도구 모음")),
        checkable(command(Cmd::ToggleDockTop, G::View, "위쪽 막대(&D)",
                          "위쪽에 붙은 막대를 보이거나 숨깁니다.", "위쪽 막대")),
        checkable(command(Cmd::ToggleToolView, G::View, "아이콘 패널(&I)",
                          "아이콘 패널을 보이거나 숨깁니다.", "아이콘 패널")),
        checkable(command(Cmd::ToggleHistWnd, G::View, "기록 창(&H)",
                          "연결 기록 창을 보이거나 숨깁니다.", "기록 창")),
        checkable(command(Cmd::WebMode, G::View, "웹 화면(&W)", "웹 화면과 터미널 화면을 오갑니다.",
                          "웹 화면")),
        checkable(command(Cmd::ToggleWebTool, G::View, "웹 도구 모음(&G)",
                          "웹 화면의 도구 모음을 보이거나 숨깁니다.", "웹 도구 모음")),
        separated(command(Cmd::ScreenSettings, G::View, "화면 설정(&Z)...",
                          "화면의 글꼴과 줄 수, 색상을 설정합니다.", "화면 설정 (Alt+Z)", "Alt+Z")),
        command(Cmd::AddRow, G::View, "줄 수 늘리기(&A)", "줄 수를 늘립니다.", "줄 수 늘리기"),
        command(Cmd::RemoveRow, G::View, "줄 수 줄이기(&R)", "줄 수를 줄입니다.", "줄 수 줄이기"),
        command(Cmd::ScrollBack, G::View, "지나간 화면 보기(&B)",
                "스크롤 버퍼에 남은 지나간 화면을 봅니다.", "지나간 화면", "", 'b', "스크롤"),
        checkable(command(Cmd::ChatBar, G::View, "채팅창(&C)", "채팅창을 보이거나 숨깁니다.",
                          "채팅창 (Alt+C)", "Alt+C", 'i', "채팅")),
        command(Cmd::ReceivedMemos, G::View, "받은 온라인 쪽지(&Y)...",
                "받은 온라인 쪽지를 봅니다.", "받은 온라인 쪽지"),
        command(Cmd::WriteMemo, G::View, "쪽지 보내기(&N)...", "온라인 쪽지를 보냅니다.",
                "쪽지 보내기", "", 'y', "쪽지"),
        checkable(command(Cmd::Participants, G::View, "대화실 참가자(&P)",
                          "대화실 참가자 목록을 보이거나 숨깁니다.", "대화실 참가자", "", 'u',
                          "참가자")),

        checkable(command(Cmd::ModemMode, G::Comm, "모뎀 모드(&M)", "모뎀 모드로 바꿉니다.",
                          "모뎀 모드", "", 'm', "모뎀")),
        checkable(command(Cmd::TelnetMode, G::Comm, "텔넷 모드(&T)", "텔넷 모드로 바꿉니다.",
                          "텔넷 모드", "", 't', "텔넷")),
        checkable(command(Cmd::AnswerMode, G::Comm, "자동 응답(&A)",
                          "모뎀이 걸려 오는 전화를 받도록 합니다.", "자동 응답", "", 'a',
                          "자동응답")),
        separated(command(Cmd::ConnectInternet, G::Comm, "인터넷 연결(&I)...",
                          "전화 접속 네트워킹으로 인터넷에 연결합니다.", "인터넷 연결", "", 'w',
                          "인터넷")),
        command(Cmd::DialupFolder, G::Comm, "전화 접속 네트워킹 폴더(&D)",
                "전화 접속 네트워킹 연결이 있는 폴더를 엽니다.", "전화 접속 네트워킹 폴더"),
        separated(command(Cmd::SendFile, G::Comm, "파일 보내기(&U)...", "호스트에 파일을 보냅니다.",
                          "파일 보내기", "", 's', "보내기")),
        command(Cmd::ReceiveFile, G::Comm, "파일 받기(&D)...", "호스트에서 파일을 받습니다.",
                "파일 받기", "", 'r', "받기"),
        separated(command(Cmd::CommSettings, G::Comm, "통신 설정(&S)...",
                          "모뎀과 텔넷, 터미널 설정을 바꿉니다.", "통신 설정")),

        checkable(command(Cmd::SmartMouse, G::Options, "Wisp 마우스(&W)",
                          "Wisp 마우스를 켜거나 끕니다.", "Wisp 마우스")),
        checkable(command(Cmd::Wallpaper, G::Options, "배경 그림(&P)", "배경 그림을 켜거나 끕니다.",
                          "배경 그림")),
        checkable(command(Cmd::Johab, G::Options, "조합형 한글(&J)",
                          "조합형 한글 모드를 켜거나 끕니다.", "조합형 한글")),
        checkable(command(Cmd::BadukMode, G::Options, "바둑 전용 모드(&B)",
                          "바둑 전용 모드를 켜거나 끕니다.", "바둑 전용 모드")),
        checkable(command(Cmd::AutoCopy, G::Options, "자동 복사(&C)",
                          "선택 영역을 자동으로 클립보드에 저장하는 기능을 켜거나 끕니다.",
                          "자동 복사")),
        checkable(command(Cmd::VT220, G::Options, "VT220 펑션키(&V)",
                          "VT220 펑션키 모드를 켜거나 끕니다.", "VT220 펑션키")),
        checkable(command(Cmd::ChatRoomMode, G::Options, "대화실 모드(&H)",
                          "대화실 모드를 켜거나 끕니다.", "대화실 모드")),
        checkable(command(Cmd::DosMode, G::Options, "DOS 모드(&D)", "DOS 모드를 켜거나 끕니다.",
                          "DOS 모드", "", 'x', "도스")),
        checkable(command(Cmd::AutoMacro, G::Options, "자동 매크로(&M)",
                          "자동 매크로 기능을 켜거나 끕니다.", "자동 매크로", "", 'o',
                          "자동매크로")),
        checkable(command(Cmd::UseLogin, G::Options, "사용자 로그인(&L)",
                          "사용자 로그인 기능을 켜거나 끕니다.", "사용자 로그인", "", 'p',
                          "로그인")),
        checkable(command(Cmd::UseAutoLogin, G::Options, "로그인 자동 선택(&A)",
                          "사용자 로그인에서 자동 선택 기능을 켜거나 끕니다.", "로그인 자동 선택",
                          "", 'f', "자동선택")),
        command(Cmd::MacroSettings, G::Options, "매크로 설정(&R)...", "매크로를 설정합니다.",
                "매크로 설정", "", 'k', "매크로"),
        separated(command(Cmd::FolderSettings, G::Options, "폴더 설정(&F)...",
                          "받은 파일과 갈무리 파일을 둘 폴더를 정합니다.", "폴더 설정")),
        command(Cmd::SoundSettings, G::Options, "소리 설정(&S)...",
                "일이 생길 때 낼 소리를 정합니다.", "소리 설정"),
        command(Cmd::LoginSettings, G::Options, "사용자 로그인 설정(&U)...",
                "사용자 로그인 정보를 설정합니다.", "사용자 로그인 설정"),

        command(Cmd::About, G::Help, "Quilite 정보(&A)...", "프로그램 정보를 봅니다.",
                "프로그램 정보"),
    };
    for (Command& c : serviceCommands())
        table.push_back(std::move(c));
    return table;
}

}  // namespace

const std::vector<MenuTitle>& menuTitles() {
    static const std::vector<MenuTitle> titles{
        {G::File, "파일(&F)"},   {G::Edit, "편집(&E)"}, {G::View, "보기(&V)"},
        {G::Comm, "통신(&M)"},   {G::Move, "이동(&G)"}, {G::Options, "설정(&O)"},
        {G::Help, "도움말(&H)"},
    };
    return titles;
}

const std::vector<Command>& commandTable() {
    static const std::vector<Command> table = makeTable();
    return table;
}

const Command* findCommand(int id) {
    for (const Command& c : commandTable())
        if (c.id == id) return &c;
    return nullptr;
}

const Command* commandForLetter(char letter) {
    const int lower = std::tolower(static_cast<unsigned char>(letter));
    for (const Command& c : commandTable())
        if (c.ttyLetter != 0 && c.ttyLetter == lower) return &c;
    return nullptr;
}

std::string ttyCommandList() {
    std::string list;
    for (const Command& c : commandTable()) {
        if (c.ttyLetter == 0) continue;
        if (!list.empty()) list += "  ";
        list += std::string(1, c.ttyLetter) + " " + c.ttyLabel;
    }
    return list;
}
