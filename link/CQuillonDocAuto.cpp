// The session's part in automation: the current service with its navigation values and auto
// macros, the line pipeline every received line goes through, the paced replies, and the
// keyboard macros the front ends run by their hot keys.
#include "auto/CSettingsSection.h"
#include "auto/DoubleByteText.h"
#include "auto/KeyNotation.h"
#include "auto/MacroSender.h"
#include "auto/ServiceCommands.h"
#include "auto/Services.h"
#include "link/CQuillonDoc.h"
#include "platform/TextCodec.h"

// The session as the output of an auto macro's reply.
class CQuillonDoc::Replies : public MacroOutput {
public:
    explicit Replies(CQuillonDoc& doc) : doc_(doc) {}
    void SendByte(uint8_t c) override { doc_.SendByte(c); }
    void SendText(std::string_view text) override { doc_.SendText(text); }
    void SendLine(std::string_view text) override { doc_.SendLine(text); }
    bool PumpDelay(int ms) override { return doc_.pumpDelay(ms); }
    void PostCommand(int id) override {
        SessionFrame& frame = doc_.ctx_.frame;
        doc_.ctx_.loop.post([&frame, id] { frame.PostCommand(id); });
    }
    void PlaySound(const std::string& path) override { doc_.ctx_.sound.playFile(path, false); }

private:
    CQuillonDoc& doc_;
};

void CQuillonDoc::SetCurrentService(const std::string& name) {
    currentService_ = name;
    serviceType_ = ServiceType(name);
    loadServiceMap();
    macros_.Load(ctx_.registry, name);
    reloadMacros();
    loadBookmarks();
    login_.LoadLoginData(name);
    chat_.SetService(name);
    autoLoginArmed_ = false;
    hooks_.OnServiceChanged(name);
    ctx_.frame.ServiceChanged();
}

void CQuillonDoc::loadServiceMap() {
    serviceMap_.clear();
    CRecordStore store(ctx_.registry);
    if (!currentService_.empty() && store.SelectKind(RecordKind::ServiceValues)) {
        if (std::optional<RegKey> service = store.FindRecord(currentService_))
            store.ReadRecord(*service, serviceMap_);
    }
    startPrompt_ = serviceValue("시작 프롬프트");
    startCommand_ = serviceValue("시작 명령");
}

std::string CQuillonDoc::serviceValue(const char* utf8Name) const {
    return ServiceValue(serviceMap_, utf8Name);
}

bool CQuillonDoc::ProcessLine(std::string_view line, bool partial) {
    if (line.empty() || !HasWholePairs(line)) return false;
    if (!partial) noteInitAnswer(line);
    // While the dialler is open it reads the modem's result words, and the line ends there.
    if (hooks_.OnLine(line, partial)) return false;
    if (!online_ || line.size() < 3) return false;
    if (partial) stepLogin(line);
    // A memo of a recognised service is the assistant's alone.
    if (serviceType_ != 0 && chat_.RecogniseServiceLine(line, partial)) return false;
    recogniseStartPrompt(line);
    if (!useAutoMacro_) return false;
    std::optional<AutoMacroList::Match> match = macros_.FindMatch(line);
    if (!match) return false;
    fireAutoMacro(*match);
    return true;
}

// Once per connection the service's start prompt shows the bookmarks; a service the program
// does not recognise is also sent its start command.
void CQuillonDoc::recogniseStartPrompt(std::string_view line) {
    if (startPromptSeen_ || startPrompt_.empty() || line != startPrompt_) return;
    startPromptSeen_ = true;
    ctx_.frame.ShowBookmarksPage();
    if (serviceType_ == 0 && !startCommand_.empty()) SendLine(startCommand_);
}

// The rule is copied: a reload while the reply is paced replaces the list.
void CQuillonDoc::fireAutoMacro(const AutoMacroList::Match& match) {
    const Record rule = macros_.Records()[match.index];
    Replies replies(*this);
    FireAutoMacro(rule, match.captures, replies);
    ctx_.loop.kickIdle();  // the pump waited while the reply was paced
}

// The loop runs meanwhile, but the idle pass reads nothing, so the line being answered stays
// as it is. The reply ends when the program closes or its link goes.
bool CQuillonDoc::pumpDelay(int ms) {
    if (closing_) return false;
    const unsigned serial = linkSerial_;
    ++pacing_;
    const WaitEnd end = ctx_.loop.runFor(ms);
    --pacing_;
    return end != WaitEnd::CloseRequested && !closing_ && serial == linkSerial_ && link_ &&
           link_->IsOnline();
}

void CQuillonDoc::dropRetiredLink() {
    retiredInterpreter_.reset();
    retiredLink_.reset();
}

// A complete line of a chat room is first coloured after its speaker.
void CQuillonDoc::LineReady(bool partial) {
    if (!partial) {
        const int colour = chat_.LineColour(ctx_.view.PendingLine());
        if (colour != -1) ctx_.view.RecolourPendingLine(colour);
    }
    if (!ProcessLine(ctx_.view.PendingLine(), partial)) return;
    ctx_.view.ClearPendingLine();
    ctx_.view.RedrawAll();
}

bool CQuillonDoc::ToggleAutoMacro(size_t index) {
    if (!macros_.Toggle(index)) return false;
    if (online_ && !currentService_.empty())
        CRecordStore(ctx_.registry)
            .SaveList(currentService_, RecordKind::AutoMacro, macros_.Records());
    return true;
}

bool CQuillonDoc::ToggleUseAutoMacro() {
    useAutoMacro_ = !useAutoMacro_;
    CSettingsSection(ctx_.registry, "Settings").SetInt("UseAutoMacro", useAutoMacro_ ? 1 : 0);
    return useAutoMacro_;
}

void CQuillonDoc::reloadMacros() {
    keyMacros_.Load(ctx_.registry, currentService_);
}

bool CQuillonDoc::TranslateMacroKey(const HotKey& key) {
    std::optional<size_t> row = keyMacros_.Find(key);
    if (!row) return false;
    ctx_.loop.post([this, index = *row] { RunMacro(index); });
    return true;
}

// The contents are copied before the first pause, so that a reload meanwhile frees nothing in
// use; a macro asked for while another is paced is queued rather than interleaved.
void CQuillonDoc::RunMacro(size_t index) {
    if (index >= keyMacros_.Rows().size()) return;
    queuedMacros_.push_back(keyMacros_.Rows()[index].contents);
    if (sendingMacro_) return;
    sendingMacro_ = true;
    Replies replies(*this);
    while (!queuedMacros_.empty()) {
        const std::string text = ExpandKeyNotation(queuedMacros_.front());
        queuedMacros_.pop_front();
        if (!SendMacroText(text, replies)) queuedMacros_.clear();  // closing, or the link went
    }
    sendingMacro_ = false;
    ctx_.loop.kickIdle();
}
