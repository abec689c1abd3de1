#include "app/tty/TtyMacroList.h"

#include "app/MenuHotKeys.h"
#include "app/tty/TtyHotKey.h"
#include "platform/TextCodec.h"

namespace {

constexpr char kHint[] = "번호/Enter 실행  + 등록  e 등록 정보  d 삭제  Esc 닫기";

// The letter keys, also as the Hangul jamo the same keys type in the usual Korean layout.
bool isLetter(const TtyKey& key, const char* letter, const char* jamo) {
    return key.kind == TtyKey::Kind::Text && (key.text == letter || key.text == jamo);
}

std::string firstLine(const std::string& contents) {
    return contents.substr(0, contents.find_first_of("\r\n"));
}

// Contents as one line to edit: a stored line break becomes the "<Enter>" it sends.
std::string asOneLine(std::string contents) {
    for (size_t at; (at = contents.find("\r\n")) != std::string::npos;)
        contents.replace(at, 2, "<Enter>");
    return contents;
}

// A typed character is named as the key that types it, so that the checks refuse it as a typing
// key rather than as no key at all.
HotKey pressedKey(const TtyKey& key) {
    if (key.kind == TtyKey::Kind::Text && key.text.size() == 1 && key.text[0] >= 0x20)
        return HotKeyOfCharacter(key.text[0]);
    return TtyHotKey(key);
}

}  // namespace

TtyMacroList::TtyMacroList(CQuillonDoc& doc, Registry& registry, TtyPrompt& prompt)
    : doc_(doc),
      registry_(registry),
      prompt_(prompt),
      list_("", {{"이름", 16}, {"단축키", 16}, {"내용", 0}}) {
    list_.SetHint(kHint);
    list_.picked = [this](TtyPickRow picked) { doc_.RunMacro(picked.row); };
    list_.otherKey = [this](const TtyKey& key, std::optional<TtyPickRow> current) {
        return onKey(key, current);
    };
}

TtyPickList& TtyMacroList::Refreshed() {
    list_.SetTitle("매크로: " + cp949ToUtf8Lossy(doc_.CurrentService()));
    std::vector<std::vector<std::string>> rows;
    for (const MacroRow& row : doc_.Macros().Rows())
        rows.push_back({cp949ToUtf8Lossy(row.name), cp949ToUtf8Lossy(row.keyText),
                        cp949ToUtf8Lossy(firstLine(row.contents))});
    list_.SetRows(std::move(rows));
    return list_;
}

bool TtyMacroList::onKey(const TtyKey& key, std::optional<TtyPickRow> current) {
    if (isLetter(key, "+", "+")) {
        add();
    } else if (isLetter(key, "e", "ㄷ") && current) {
        edit(current->row);
    } else if (isLetter(key, "d", "ㅇ") && current) {
        remove(current->row);
    } else {
        return false;
    }
    Refreshed();
    return true;
}

void TtyMacroList::add() {
    if (!ServiceRecord(registry_, doc_.CurrentService())) {
        prompt_.tell(
            cp949ToUtf8Lossy(doc_.CurrentService()) + " 통신망이 없어 매크로를 등록할 수 없습니다.",
            PromptIcon::Warning);
        return;
    }
    MacroPage page(registry_, prompt_, doc_.CurrentService());
    page.Add([this](MacroRow& row) { return askRecord(row); });
    save(page);
}

void TtyMacroList::edit(size_t row) {
    MacroPage page(registry_, prompt_, doc_.CurrentService());
    if (std::optional<size_t> index = pageRow(page, row))
        page.Edit(*index, [this](MacroRow& edited) { return askRecord(edited); });
    save(page);
}

void TtyMacroList::remove(size_t row) {
    MacroPage page(registry_, prompt_, doc_.CurrentService());
    const std::optional<size_t> index = pageRow(page, row);
    if (index &&
        prompt_.ask(cp949ToUtf8Lossy(page.Rows()[*index].name) + " 매크로를 삭제하시겠습니까?",
                    PromptButtons::YesNo, PromptIcon::Question) == PromptAnswer::Yes)
        page.Delete({*index});
    save(page);
}

std::optional<size_t> TtyMacroList::pageRow(const MacroPage& page, size_t row) {
    const std::vector<MacroRow>& shown = doc_.Macros().Rows();
    for (size_t i = 0; row < shown.size() && i < page.Rows().size(); ++i)
        if (page.Rows()[i] == shown[row]) return i;
    return std::nullopt;
}

void TtyMacroList::save(MacroPage& page) {
    if (page.Modified() && !page.Apply())
        prompt_.tell("매크로를 저장하지 못했습니다.", PromptIcon::Warning);
}

// Asked again, with what was typed, until the page's checks pass.
bool TtyMacroList::askRecord(MacroRow& row) {
    for (;;) {
        const std::optional<std::string> keyText = askKeyText(row.keyText);
        if (!keyText) return false;
        LineQuestion name;
        name.initial = cp949ToUtf8Lossy(row.name);
        const std::optional<std::string> typedName = prompt_.AskLine("이름: ", name);
        if (!typedName) return false;
        LineQuestion contents;
        contents.initial = cp949ToUtf8Lossy(asOneLine(row.contents));
        const std::optional<std::string> typedContents =
            prompt_.AskLine("내용 (<Enter> 등 키 표기): ", contents);
        if (!typedContents) return false;
        row = {utf8ToCp949Lossy(*typedName), *keyText, utf8ToCp949Lossy(*typedContents)};
        if (MacroPage::CheckRecord(row, MenuHotKeys(), prompt_)) return true;
    }
}

// The key pressed, or after Enter its key text typed (the keys a terminal cannot report);
// stored in its canonical spelling when it parses.
std::optional<std::string> TtyMacroList::askKeyText(const std::string& keyText) {
    const std::string now = keyText.empty() ? "" : " [지금 " + cp949ToUtf8Lossy(keyText) + "]";
    const std::optional<TtyKey> key =
        prompt_.AskKey("단축키를 누르십시오" + now + " (Enter: 글자로 입력, Esc: 취소): ");
    if (!key) return std::nullopt;
    if (!(key->kind == TtyKey::Kind::Text && key->text == "\r")) return KeyText(pressedKey(*key));
    LineQuestion how;
    how.initial = cp949ToUtf8Lossy(keyText);
    const std::optional<std::string> typed = prompt_.AskLine("단축키 (예: Ctrl+Shift+A): ", how);
    if (!typed) return std::nullopt;
    const std::string text = utf8ToCp949Lossy(*typed);
    const HotKey parsed = ParseKeyText(text);
    return parsed.Valid() ? KeyText(parsed) : text;
}
