// quilite-reg: reads, writes, imports and exports the profile store from the command line.
// Text on the terminal is UTF-8; the store keeps CP949.
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "auto/AutoMacroList.h"
#include "auto/LoginChoice.h"
#include "auto/ProfileStore.h"
#include "auto/RegExport.h"
#include "auto/RegImport.h"
#include "auto/Registry.h"
#include "platform/ProgramHelp.h"
#include "platform/TextCodec.h"

namespace {

constexpr int kFailed = 1;    // not found, or the store refused
constexpr int kBadInput = 2;  // usage errors and input that cannot be used

const char* const kUsage =
    "usage: quilite-reg [--db PATH] COMMAND ARGS\n"
    "  get KEY [VALUE]      print a value (the unnamed one when VALUE is \"@\" or omitted)\n"
    "  set KEY VALUE TEXT   store TEXT as VALUE (\"@\": the unnamed value), creating KEY\n"
    "  list KEY             print the subkeys ([name]) and values (\"name\"=\"text\") of KEY\n"
    "  import FILE          import a REGEDIT4 or version 5.00 registry file\n"
    "  export KEY FILE      write KEY and all below it as a REGEDIT4 file (\"-\": stdout)\n"
    "  automacro SERVICE    list the service's auto macros in the order they are tried\n"
    "  login SERVICE        list the service's log-in IDs, the default first\n"
    "  login SERVICE ID [NAME] [--default]\n"
    "                       add or replace an ID; its password is read from standard input\n"
    "KEY begins with HKEY_CURRENT_USER (HKCU) or HKEY_LOCAL_MACHINE (HKLM).\n";

// Reports problems of the store on the terminal; the tool never waits for an answer.
class TerminalPrompt : public Prompt {
public:
    PromptReply show(const PromptRequest& request) override {
        std::cerr << "quilite-reg: " << request.text << "\n";
        bool yes = request.buttons == PromptButtons::YesNo ||
                   request.buttons == PromptButtons::YesNoCancel;
        return {yes ? PromptAnswer::Yes : PromptAnswer::Ok, request.checked};
    }
    std::unique_ptr<WaitNotice> beginWait(const std::string&, int) override { return nullptr; }
};

struct BadInput {
    std::string message;
};

std::string toStore(const std::string& utf8) {
    std::optional<std::string> text = utf8ToCp949(utf8);
    if (!text) throw BadInput{"\"" + utf8 + "\" cannot be written in CP949"};
    return *text;
}

std::string toTerminal(const std::string& cp949) {
    return cp949ToUtf8(cp949).value_or(cp949);
}

std::string keyPath(const std::string& utf8) {
    std::string path = toStore(utf8);
    for (auto [abbreviation, hive] :
         {std::pair{"HKCU", Hive::CurrentUser}, std::pair{"HKLM", Hive::LocalMachine}}) {
        std::string head = Registry::foldName(path.substr(0, path.find('\\')));
        if (head == abbreviation)
            path = Registry::hiveName(hive) + path.substr(std::min(path.size(), size_t(4)));
    }
    if (!Registry::splitHive(path))
        throw BadInput{"\"" + utf8 +
                       "\" does not begin with HKEY_CURRENT_USER or "
                       "HKEY_LOCAL_MACHINE"};
    return path;
}

std::string valueName(const std::string& utf8) {
    return utf8 == "@" ? "" : toStore(utf8);
}

std::string quoted(const std::string& cp949) {
    std::string out = "\"";
    for (char c : toTerminal(cp949)) {
        if (c == '"' || c == '\\') out += '\\';
        out += c;
    }
    return out + "\"";
}

int fail(const std::string& message, int status) {
    std::cerr << "quilite-reg: " << message << "\n";
    return status;
}

int get(Registry& registry, const std::vector<std::string>& args) {
    std::optional<RegKey> key = registry.openPath(keyPath(args[0]));
    if (!key) return fail("no such key: " + args[0], kFailed);
    std::string name = args.size() > 1 ? valueName(args[1]) : "";
    std::optional<std::string> value = registry.value(*key, name);
    if (!value) return fail("no such value: " + (args.size() > 1 ? args[1] : "@"), kFailed);
    std::cout << toTerminal(*value) << "\n";
    return 0;
}

int set(Registry& registry, const std::vector<std::string>& args) {
    std::string path = keyPath(args[0]);
    std::string name = valueName(args[1]);
    std::string text = toStore(args[2]);
    bool ok = registry.transaction([&] {
        std::optional<RegKey> key = registry.createPath(path);
        return key && registry.setValue(*key, name, text);
    });
    return ok ? 0 : fail(registry.lastError(), kFailed);
}

int list(Registry& registry, const std::vector<std::string>& args) {
    std::optional<RegKey> key = registry.openPath(keyPath(args[0]));
    if (!key) return fail("no such key: " + args[0], kFailed);
    for (const RegChild& child : registry.subkeys(*key))
        std::cout << "[" << toTerminal(child.name) << "]\n";
    for (const RegValue& value : registry.values(*key))
        std::cout << (value.name.empty() ? "@" : quoted(value.name)) << "=" << quoted(value.data)
                  << "\n";
    return 0;
}

int import(Registry& registry, const std::vector<std::string>& args) {
    RegImportResult result = importRegFile(registry, args[0]);
    for (const std::string& reason : result.skippedReasons)
        std::cerr << "quilite-reg: skipped " << reason << "\n";
    if (!result.ok())
        return fail(result.error,
                    result.status == RegImportStatus::StoreFailed ? kFailed : kBadInput);
    std::cout << "imported " << result.keys << " keys, " << result.values << " values, "
              << result.deleted << " deletions; skipped " << result.skipped << "\n";
    return 0;
}

int exportKey(Registry& registry, const std::vector<std::string>& args) {
    std::string path = keyPath(args[0]);
    if (args[1] == "-") {
        std::optional<std::string> text = exportRegText(registry, path);
        if (!text) return fail("no such key: " + args[0], kFailed);
        std::cout << *text;
        return 0;
    }
    std::string error;
    return exportRegFile(registry, path, args[1], error) ? 0 : fail(error, kFailed);
}

// One line per rule: its number, on or off, title, pattern and reply, then the command id and
// the sound when it has them.
int automacro(Registry& registry, const std::vector<std::string>& args) {
    const std::string service = toStore(args[0]);
    CRecordStore store(registry);
    if (!store.SelectKind(RecordKind::Service) || !store.FindRecord(service))
        return fail("no such service: " + args[0], kFailed);
    std::vector<Record> rules;
    store.LoadList(service, RecordKind::AutoMacro, rules);
    int number = 0;
    for (Record& rule : rules) {
        std::cout << ++number << (AutoMacroOff(rule) ? " off " : " on  ") << quoted(rule["Title"])
                  << " " << quoted(rule["Pattern"]) << " => " << quoted(rule["SendString"]);
        if (!rule["Cmd"].empty() && rule["Cmd"] != "0") std::cout << " cmd " << rule["Cmd"];
        if (!rule["PlaySound"].empty()) std::cout << " sound " << quoted(rule["PlaySound"]);
        std::cout << "\n";
    }
    return 0;
}

// A line from standard input; on a terminal it is asked for and not echoed.
std::string readPassword() {
    termios saved{};
    const bool terminal = isatty(STDIN_FILENO) && tcgetattr(STDIN_FILENO, &saved) == 0;
    if (terminal) {
        std::cerr << "비밀번호: " << std::flush;
        termios quiet = saved;
        quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
        tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet);
    }
    std::string line;
    std::getline(std::cin, line);
    if (terminal) {
        tcsetattr(STDIN_FILENO, TCSAFLUSH, &saved);
        std::cerr << "\n";
    }
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return line;
}

// The record for the ID replaces the one with the same ID (keeping its name unless one is
// given) or is appended; as the default it goes to the top.
void putLoginId(std::vector<Record>& ids, Record record, bool makeDefault) {
    auto same = std::find_if(ids.begin(), ids.end(),
                             [&](const Record& r) { return r.at("Title") == record["Title"]; });
    if (same != ids.end()) {
        if (!record.count("Name") && same->count("Name")) record["Name"] = same->at("Name");
        if (!makeDefault) {
            *same = record;
            return;
        }
        ids.erase(same);
    }
    ids.insert(makeDefault ? ids.begin() : ids.end(), record);
}

int login(Registry& registry, const std::vector<std::string>& args) {
    std::vector<std::string> words = args;
    const auto flag = std::find(words.begin(), words.end(), "--default");
    const bool makeDefault = flag != words.end();
    if (makeDefault) words.erase(flag);
    if (words.size() > 3 || (makeDefault && words.size() < 2)) throw BadInput{"too many words"};
    CRecordStore store(registry);
    std::optional<RegKey> service;
    if (store.SelectKind(RecordKind::Service)) service = store.FindRecord(toStore(words[0]));
    if (!service) return fail("no such service: " + words[0], kFailed);
    std::vector<Record> ids;
    store.LoadIdList(*service, ids);
    for (Record& id : ids)
        id.try_emplace("Title");
    if (words.size() == 1) {
        int number = 0;
        for (Record& id : ids)
            std::cout << ++number << " " << toTerminal(id["Title"]) << " " << quoted(id["Name"])
                      << " " << std::string(id["Password"].size(), '*') << "\n";
        return 0;
    }
    Record record{{"Title", toStore(words[1])}};
    if (words.size() == 3) record["Name"] = toStore(words[2]);
    if (std::optional<std::string> refusal = CheckLoginId(record["Title"]))
        throw BadInput{*refusal};
    record["Password"] = readPassword();
    if (std::optional<std::string> refusal = CheckLoginPassword(record["Password"]))
        throw BadInput{*refusal};
    putLoginId(ids, record, makeDefault);
    return store.SaveIdList(*service, ids) ? 0 : fail(store.lastError(), kFailed);
}

struct Command {
    const char* name;
    size_t minArgs, maxArgs;
    int (*run)(Registry&, const std::vector<std::string>&);
};

const Command kCommands[] = {
    {"get", 1, 2, get},       {"set", 3, 3, set},          {"list", 1, 1, list},
    {"import", 1, 1, import}, {"export", 2, 2, exportKey}, {"automacro", 1, 1, automacro},
    {"login", 1, 4, login},
};

}  // namespace

int main(int argc, char** argv) {
    if (printHelpIfAsked(argc, argv, kUsage)) return 0;
    std::vector<std::string> args(argv + 1, argv + argc);
    std::string db = defaultProfilePath();
    if (args.size() >= 2 && args[0] == "--db") {
        db = args[1];
        args.erase(args.begin(), args.begin() + 2);
    }
    if (args.empty()) {
        std::cerr << kUsage;
        return kBadInput;
    }
    const Command* command = nullptr;
    for (const Command& c : kCommands)
        if (args[0] == c.name) command = &c;
    args.erase(args.begin());
    if (!command || args.size() < command->minArgs || args.size() > command->maxArgs) {
        std::cerr << kUsage;
        return kBadInput;
    }
    TerminalPrompt prompt;
    std::string error;
    std::unique_ptr<Registry> registry = openProfileStore(db, prompt, error);
    if (!registry) return fail(error, kFailed);
    try {
        return command->run(*registry, args);
    } catch (const BadInput& bad) {
        return fail(bad.message, kBadInput);
    }
}
