#include "auto/ChatRecogniser.h"

#include <algorithm>

#include "auto/ChatPattern.h"
#include "platform/TextCodec.h"

std::string HostText(const char* utf8) {
    return utf8ToCp949(utf8).value_or("");
}

namespace {

// The speaker's patterns stay out of the notice filter.
ChatPattern pattern(const char* utf8) {
    return ChatPattern(HostText(utf8));
}

// Found first at the second byte of the line.
bool standsAtSecondByte(std::string_view line, const std::string& text) {
    return line.size() > 1 && line.substr(1).starts_with(text) && !line.starts_with(text);
}

// Service type 1: "## " notices and id(name) chat columns.
class HitelRecogniser : public ChatRecogniser {
public:
    bool ParseSpeaker(std::string_view line, ChatSpeaker& speaker) const override {
        if (chatColumns(line, speaker)) return true;
        CaptureViews c;
        if (whisper_.Match(line, c) && IsValidId(TrimmedRight(c[0]))) {
            speaker = {TrimmedRight(c[1]), TrimmedRight(c[0])};
            return true;
        }
        return false;
    }

    int ClassifyEvent(std::string_view line, ChatEventFields& out) const override {
        const std::string_view trimmed = TrimmedRight(line);
        if (!trimmed.starts_with("## ") && !trimmed.starts_with(" >> ")) return ChatEvent::None;
        CaptureViews c;
        std::string_view verb;
        if (presenceNotice(trimmed, out, verb)) {
            if (verb == entered_) return ChatEvent::Entered;
            if (verb == left_) return ChatEvent::Left;
        } else if (ignore_.Match(trimmed, c)) {
            out = {.id = c[0]};
            if (c[1] == set_) return ChatEvent::IgnoreSet;
            if (c[1] == cleared_) return ChatEvent::IgnoreCleared;
        } else if (whisperSet_.Match(trimmed, c)) {
            out = {.id = c[0]};
            return ChatEvent::WhisperSet;
        } else if (whisperCleared_.Match(trimmed, c)) {
            out = {.id = c[0]};
            return ChatEvent::WhisperCleared;
        } else if (rename_.Match(trimmed, c)) {
            out = {.id = c[1], .name = c[0], .newName = c[2]};
            return ChatEvent::NameChanged;
        }
        return ChatEvent::None;
    }

    bool IsPassLine(std::string_view line) const override {
        CaptureViews c;
        return bang_.Match(line, c) || (quoted_.Match(line, c) && IsValidId(TrimmedRight(c[1])));
    }

    bool IsLeaveLine(std::string_view line) const override {
        for (const std::string& prompt : leavePrompts_)
            if (line == prompt) return true;
        return standsAtSecondByte(line, generalRoom_);
    }

    bool IsEnterLine(std::string_view line) const override {
        ChatEventFields fields;
        std::string_view verb;
        return presenceNotice(line, fields, verb) && verb == entered_ && IsValidId(fields.name);
    }

    bool IsValidId(std::string_view text) const override {
        return text.size() >= 4 && text.size() <= 8;
    }

private:
    // "^%w(%8w)  %s", the shape of nearly every line of a room, read without the pattern walk:
    // the name, "(", the ID padded with spaces to eight bytes (the padding alone will do),
    // ")  ".
    static bool chatColumns(std::string_view line, ChatSpeaker& speaker) {
        const size_t nameEnd = RunEnd('w', line, 0);
        if (nameEnd == 0 || nameEnd >= line.size() || line[nameEnd] != '(') return false;
        const size_t idStart = nameEnd + 1;
        const size_t idEnd = RunEnd('w', line, idStart);
        const size_t padEnd = SkipSpaces(line, idEnd, 8 - std::min<size_t>(idEnd - idStart, 8));
        if (padEnd == idStart || padEnd + 3 > line.size() || line[padEnd] != ')' ||
            line[padEnd + 1] != ' ' || line[padEnd + 2] != ' ')
            return false;
        // A word run holds no spaces: the ID ends where its run does.
        speaker = {{line.data() + idStart, idEnd - idStart}, {line.data(), nameEnd}};
        return true;
    }

    // "^## %n(%w) 님이 %s하였습니다. ##", the notice of each coming and going, read without the
    // pattern walk as well: "## ", the name, "(", the ID, ") 님이 ", and the verb up to the first
    // "하였습니다. ##" on a character boundary.
    bool presenceNotice(std::string_view line, ChatEventFields& out, std::string_view& verb) const {
        if (!line.starts_with(noticeStart_)) return false;
        const size_t nameStart = noticeStart_.size();
        const size_t nameEnd = RunEnd('n', line, nameStart);
        if (nameEnd == nameStart || nameEnd >= line.size() || line[nameEnd] != '(') return false;
        const size_t idStart = nameEnd + 1;
        const size_t idEnd = RunEnd('w', line, idStart);
        if (idEnd == idStart || !line.substr(idEnd).starts_with(presenceMiddle_)) return false;
        const size_t verbStart = idEnd + presenceMiddle_.size();
        const size_t verbEnd = FindOnBoundary(line, presenceEnd_, verbStart);
        if (verbEnd == std::string_view::npos) return false;
        out = {.id = line.substr(idStart, idEnd - idStart),
               .name = line.substr(nameStart, nameEnd - nameStart)};
        verb = line.substr(verbStart, verbEnd - verbStart);
        return true;
    }

    ChatPattern whisper_ = pattern("^  %8n(%8w)  %s");
    ChatPattern bang_ = notice("^(!)%w(%8w)  %s");
    ChatPattern quoted_ = notice("^> %n(%8w)  %s");
    std::string noticeStart_ = startText("## ");
    std::string presenceMiddle_ = HostText(") 님이 "), presenceEnd_ = HostText("하였습니다. ##");
    ChatPattern ignore_ = notice("^## %w 님과의 대화 수신거부가 %s되었습니다. ##");
    ChatPattern whisperSet_ = notice("^## %w 님과 귀엣말이 설정되었습니다. ##");
    ChatPattern whisperCleared_ = notice("^## %w 님과의 귀엣말이 해제 되었습니다. ##");
    ChatPattern rename_ = notice("^## %w (%w) 님이 대화명을 [ %n ] 로 변경하였습니다.");
    std::string entered_ = HostText("입장"), left_ = HostText("퇴장");
    std::string set_ = HostText("지정"), cleared_ = HostText("해제");
    std::string leavePrompts_[4] = {startText(">>"), startText(" >>"),
                                    startText(" 선택(H:도움말) >>"),
                                    startText("명령어 입력 (H:도움말) >>")};
    std::string generalRoom_ = filter_.AtSecondByte(HostText("일반대화실  (CHAT) [대화방]"));
};

// Service type 2: "name>text" chat lines whose ids are asked for with "/u".
class ChollianRecogniser : public ChatRecogniser {
public:
    bool ParseSpeaker(std::string_view line, ChatSpeaker& speaker) const override {
        CaptureViews c;
        if (!chat_.Match(line, c) || !IsValidId(c[0])) return false;
        speaker = {{}, c[0]};
        return true;
    }

    int ClassifyEvent(std::string_view line, ChatEventFields& out) const override {
        CaptureViews c;
        if (presence_.Match(line, c)) {
            out = {.id = c[1], .name = c[0]};
            if (c[2] == entered_) return ChatEvent::Entered;
            if (c[2] == left_) return ChatEvent::Left;
        } else if (idAnswer_.Match(line, c)) {
            out = {.id = TrimmedRight(c[1]), .name = c[0]};
            return ChatEvent::Entered;
        } else if (ignore_.Match(line, c)) {
            out = {.id = c[0]};
            if (c[1] == set_) return ChatEvent::IgnoreSet;
            if (c[1] == cleared_) return ChatEvent::IgnoreCleared;
        } else if (line.find(whisperSet_) != std::string_view::npos) {
            out = {};
            return ChatEvent::WhisperSet;
        } else if (line.find(whisperCleared_) != std::string_view::npos) {
            out = {};
            return ChatEvent::WhisperCleared;
        } else if (rename_.Match(line, c)) {
            out = {.id = c[0], .name = c[1], .newName = c[2]};
            return ChatEvent::NameChanged;
        }
        return ChatEvent::NothingMatched;
    }

    bool IsPassLine(std::string_view line) const override { return line.starts_with(passMark_); }
    bool IsLeaveLine(std::string_view line) const override { return line == leave_; }

    bool IsEnterLine(std::string_view line) const override {
        CaptureViews c;
        return enter_.Match(line, c);
    }

    bool IsValidId(std::string_view text) const override {
        return text.size() >= 3 && text.size() <= 10;
    }

private:
    ChatPattern chat_ = pattern("^%n>%s");
    ChatPattern presence_ = notice("^   #  %n(%w) 회원이 %s하였습니다 !!");
    ChatPattern idAnswer_ = notice("^%n 회원의 ID는 %s, 본명은 %w 입니다.");
    ChatPattern ignore_ = notice("^## %w 님과의 대화 수신거부가 %s되었습니다. ##");
    ChatPattern rename_ =
        notice("^   #  %s님의 대화명이 \"%n\"에서 \"%n\"(으)로 변경되었습니다 !!");
    ChatPattern enter_ = notice("^*** %s 들어오신 것을 환영합니다. %n 회원님 ***");
    std::string whisperSet_ = filter_.Anywhere(HostText("귀엣말이 설정되었습니다."));
    std::string whisperCleared_ = filter_.Anywhere(HostText("귀엣말이 해제 되었습니다."));
    std::string entered_ = HostText("입실"), left_ = HostText("퇴실");
    std::string set_ = HostText("지정"), cleared_ = HostText("해제");
    std::string passMark_ = startText("(!)");
    std::string leave_ = startText("선택>");
};

// Service type 3: " id (name) text" chat lines and " *** " notices.
class NownuriRecogniser : public ChatRecogniser {
public:
    bool ParseSpeaker(std::string_view line, ChatSpeaker& speaker) const override {
        CaptureViews c;
        if (!chat_.Match(line, c) || !IsValidId(c[1])) return false;
        speaker = {TrimmedRight(c[0]), c[1]};
        return true;
    }

    int ClassifyEvent(std::string_view line, ChatEventFields& out) const override {
        if (line.starts_with(founder_)) return ChatEvent::NoEvent;
        if (line.size() < 5) return ChatEvent::None;
        CaptureViews c;
        if (entered_.Match(line, c)) {
            out = {.id = c[1], .name = c[0]};
            return ChatEvent::Entered;
        }
        if (left_.Match(line, c) || expelled_.Match(line, c)) {
            out = {.id = c[0], .name = c[1]};
            return ChatEvent::Left;
        }
        if (ignoreSet_.Match(line, c)) {
            out = {.id = c[0]};
            return ChatEvent::IgnoreSet;
        }
        if (ignoreCleared_.Match(line, c)) {
            out = {.id = c[0]};
            return ChatEvent::IgnoreCleared;
        }
        return ChatEvent::None;
    }

    bool IsPassLine(std::string_view) const override { return false; }
    bool IsLeaveLine(std::string_view line) const override { return line == leave_; }
    bool IsEnterLine(std::string_view line) const override { return line == enterPrompt_; }

    bool IsValidId(std::string_view text) const override {
        return text.size() >= 3 && text.size() <= 8;
    }

private:
    ChatPattern chat_ = pattern("^ %8w (%n) %s");
    ChatPattern entered_ = notice("^ *** %n(%w:%w)님이 들어오셨습니다!!");
    ChatPattern left_ = notice("^ *** %w(%w)님이 나가셨습니다.");
    ChatPattern expelled_ = notice("^ *** %w(%w)님이 %w 퇴장되었습니다.");
    ChatPattern ignoreSet_ = notice("^  지금부터 %w님의 메시지는 받지 않습니다.");
    ChatPattern ignoreCleared_ = notice("^  지금부터 %w님의 메시지를 받을 수 있습니다.");
    std::string founder_ = startText("   개설자 : ");
    std::string leave_ = startText(" 선택>");
    std::string enterPrompt_ = startText("Chat :");
};

}  // namespace

std::unique_ptr<ChatRecogniser> MakeChatRecogniser(int serviceType) {
    switch (serviceType) {
        case 1:
            return std::make_unique<HitelRecogniser>();
        case 2:
            return std::make_unique<ChollianRecogniser>();
        case 3:
            return std::make_unique<NownuriRecogniser>();
        default:
            return nullptr;
    }
}
