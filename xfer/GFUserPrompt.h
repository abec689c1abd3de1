#pragma once
// The two questions an engine may put to the user, answered by the host (a message box in the
// GUI, a line on a console, a script in tests). Without a prompt the engine goes on silently.
#include <cstdint>
#include <string>

class GFUserPrompt {
public:
    virtual ~GFUserPrompt() = default;
    // A file failed to open; text is the message to show.
    virtual void FileOpenFailed(const std::string& path, bool forWriting,
                                const std::string& text) = 0;
    // Too little disk space for the file being received: true cancels the transfer.
    virtual bool CancelForDiskSpace(const std::string& folder, uint64_t freeBytes,
                                    const std::string& caption, const std::string& text) = 0;
};

// The texts of the two questions (UTF-8; a path's bytes are passed through unchanged).
std::string GFOpenFailureText(const std::string& path, bool forWriting);
extern const char* const GF_DISK_SPACE_CAPTION;
std::string GFDiskSpaceText(const std::string& folder, uint64_t freeBytes);
// A byte count with thousands separators: 1234567 -> "1,234,567".
std::string GFGroupedNumber(uint64_t n);
