#pragma once
// The drive letters of the built-in command shell: each letter stands for a folder of the Linux
// file system, and each drive remembers the directory last used on it. The shell keeps its own
// current directory here and never changes the process's, which other threads rely on.
// Paths typed at the shell are CP949 with "\" or "/" between names; Linux paths are bytes.
#include <map>
#include <string>
#include <string_view>
#include <vector>

struct ShellDrive {
    char letter;       // upper case
    std::string root;  // absolute Linux folder
};

// A Linux file name as the shell shows it: valid UTF-8 converted to CP949 character by
// character ("?" where CP949 has none), any other name as its bytes; control bytes become "?".
std::string displayName(std::string_view linuxName);
// The Linux name in folder for a typed CP949 name: its UTF-8 form, or the raw bytes when only
// a file of that name exists (a CP949-named file).
std::string linuxName(const std::string& folder, std::string_view typedName);
// A typed path cut into names at "\" and "/" (double-byte characters kept whole).
std::vector<std::string> splitPath(std::string_view path);

class ShellDrives {
public:
    // C: = "/", D: = the home folder.
    static std::vector<ShellDrive> defaultTable();
    // Drives whose folder does not exist are left out; the first one is current.
    explicit ShellDrives(const std::vector<ShellDrive>& drives = defaultTable());

    bool empty() const { return roots_.empty(); }
    const std::string& directory() const { return directory_; }  // Linux path
    std::string dosDirectory() const { return dosPath(directory_); }
    // "C:\" followed by the names below the drive's folder; "" outside every drive.
    std::string dosPath(const std::string& linuxPath) const;

    // The Linux path a typed path names; "" when it names an unmapped drive. ".." never climbs
    // above a drive's folder.
    std::string resolve(std::string_view path) const;
    bool changeDirectory(std::string_view path);
    // A letter without a folder fails and changes nothing.
    bool changeDrive(char letter);

private:
    char driveHolding(const std::string& linuxPath) const;

    std::map<char, std::string> roots_;
    std::map<char, std::string> remembered_;
    char current_ = 0;
    std::string directory_;
};
