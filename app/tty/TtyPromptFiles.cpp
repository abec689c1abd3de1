// File questions on the status line: paths typed one per line, the protocol list as a
// numbered question, check boxes as yes/no questions, and numbered questions themselves.
#include <cstdlib>
#include <filesystem>

#include "app/tty/TtyPrompt.h"
#include "app/tty/TtyScreen.h"

namespace {

// A typed path made absolute against the request's folder (or the current folder).
std::string absolutePath(const std::string& typed, const std::string& folder) {
    std::filesystem::path path(typed);
    if (path.is_relative())
        path = (folder.empty() ? std::filesystem::current_path() : std::filesystem::path(folder)) /
               path;
    return path.lexically_normal().string();
}

// A saved name without an extension gets the default one.
std::string withExtension(std::string path, const std::string& extension) {
    if (!extension.empty() && std::filesystem::path(path).extension().empty())
        path += "." + extension;
    return path;
}

}  // namespace

FileReply TtyPrompt::askFile(const FileRequest& request) {
    FileReply reply;
    reply.choice = request.choice;
    for (const FileCheck& check : request.checks)
        reply.checks.push_back(check.checked);
    std::optional<std::vector<std::string>> paths = askPaths(request);
    if (!paths) return reply;
    // No path stands for the extra button, where there is one; its boxes stay as they were.
    const bool extra = paths->empty() && !request.extraButton.empty();
    if (paths->empty() && !extra) return reply;
    if (!request.choices.empty() && !request.choiceLocked) {
        std::optional<int> choice = AskChoice("프로토콜:", request.choices, request.choice);
        if (!choice) return reply;
        reply.choice = *choice;
    }
    for (size_t i = 0; i < request.checks.size() && !extra; ++i) {
        const PromptAnswer answer =
            ask(request.checks[i].text + "?", PromptButtons::YesNo, PromptIcon::Question);
        reply.checks[i] = answer == PromptAnswer::Yes;
    }
    reply.paths = std::move(*paths);
    reply.answer = extra ? FileAnswer::Extra : FileAnswer::Accepted;
    return reply;
}

// Nothing when Esc cancelled a line.
std::optional<std::vector<std::string>> TtyPrompt::askPaths(const FileRequest& request) {
    std::vector<std::string> paths;
    const std::string where = request.folder.empty() ? "" : " (" + request.folder + ")";
    const bool saving = request.kind == FileDialogKind::Save;
    for (;;) {
        std::string label = request.caption + where;
        LineQuestion how;
        bool tabbed = false;
        if (paths.empty() && !request.extraButton.empty()) {
            label +=
                (saving ? " [Tab: " : " [Enter: ") + WithoutMnemonic(request.extraButton) + "]";
            how.tabEnds = saving;
            how.onTab = [&tabbed, &label] {
                tabbed = true;
                return label;
            };
        }
        if (request.kind == FileDialogKind::OpenMany)
            label +=
                paths.empty() ? ", 빈 줄로 끝: " : " " + std::to_string(paths.size() + 1) + ": ";
        else if (!request.fileName.empty())
            label += " [" + request.fileName + "]: ";
        else
            label += ": ";
        std::optional<std::string> line = AskLine(label, how);
        if (!line) return std::nullopt;
        if (tabbed) return paths;
        if (line->empty() && saving) *line = request.fileName;
        // Saving needs a name: an empty line without a proposed one is asked again.
        if (line->empty() && saving) {
            host_.Beep();
            continue;
        }
        if (line->empty()) return paths;
        std::string path = absolutePath(*line, request.folder);
        if (request.kind == FileDialogKind::Save)
            path = withExtension(std::move(path), request.defaultExtension);
        paths.push_back(std::move(path));
        if (request.kind != FileDialogKind::OpenMany) return paths;
    }
}

std::optional<int> TtyPrompt::AskChoice(const std::string& label,
                                        const std::vector<std::string>& choices, int preselected) {
    std::string line = label;
    for (size_t i = 0; i < choices.size(); ++i)
        line += (line.empty() ? "" : " ") + std::to_string(i + 1) + " " + choices[i];
    line += " [" + std::to_string(preselected + 1) + "]: ";
    for (;;) {
        std::optional<std::string> typed = AskLine(line);
        if (!typed) return std::nullopt;
        if (typed->empty()) return preselected;
        const int n = std::atoi(typed->c_str());
        if (n >= 1 && n <= static_cast<int>(choices.size())) return n - 1;
        host_.Beep();
    }
}
