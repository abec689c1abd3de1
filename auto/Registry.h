#pragma once
// The profile store: a tree of keys under two hives, each key holding named string values and
// one unnamed value (name ""), kept in one SQLite file that several running copies of the
// program read and write safely. Names and data are CP949 bytes. Key and value names compare
// without regard to ASCII case and keep the case they were created with. Subkeys and values
// enumerate with all-digit names first in numeric order, then the others in case-insensitive
// byte order. Writes return false on failure, with the reason in lastError().
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "auto/ListChanges.h"

struct sqlite3;
struct sqlite3_stmt;

enum class Hive { CurrentUser, LocalMachine };

struct RegKey {
    int64_t id = 0;
    bool operator==(const RegKey&) const = default;
};

struct RegValue {
    std::string name;  // "" is the unnamed value
    std::string data;
};

struct RegChild {
    RegKey key;
    std::string name;
};

// A subkey together with all its values, as loaded for a whole list at once.
struct RegChildContents {
    RegKey key;
    std::string name;
    std::vector<RegValue> values;
};

class Registry {
public:
    struct Opened {
        std::unique_ptr<Registry> registry;
        bool damaged = false;  // the file exists but is not a readable store of ours
        std::string error;
    };
    // Opens the store at `path`, creating it when missing. Waits up to `busyTimeoutMs` for
    // another copy of the program that holds the write lock.
    static Opened open(const std::string& path, int busyTimeoutMs = 10000);
    ~Registry();

    static const char* hiveName(Hive hive);
    // The form under which names compare: ASCII letters upper-cased, Korean pairs untouched.
    static std::string foldName(std::string_view name);
    RegKey hive(Hive hive) const;

    // Paths are backslash-separated names relative to `parent`; "" names `parent` itself.
    std::optional<RegKey> openKey(RegKey parent, std::string_view path);
    std::optional<RegKey> createKey(RegKey parent, std::string_view path);
    // Full paths begin with the hive: "HKEY_CURRENT_USER\Software\...".
    std::optional<RegKey> openPath(std::string_view fullPath);
    std::optional<RegKey> createPath(std::string_view fullPath);
    // Splits a full path into its hive and the rest; nothing when the hive is not known.
    static std::optional<std::pair<Hive, std::string_view>> splitHive(std::string_view fullPath);

    bool deleteKey(RegKey parent, std::string_view name);  // with all its subkeys; absent is fine
    bool deleteKey(RegKey key);
    bool deleteSubkeys(RegKey key);  // every subkey with its subtree; the key itself stays

    std::string keyName(RegKey key);
    std::vector<RegChild> subkeys(RegKey key);
    std::vector<RegChildContents> subkeysWithValues(RegKey key);
    std::optional<std::string> value(RegKey key, std::string_view name);
    std::vector<RegValue> values(RegKey key);
    bool setValue(RegKey key, std::string_view name, std::string_view data);
    bool deleteValue(RegKey key, std::string_view name);  // absent is fine

    // Runs `body` as one transaction holding the write lock: everything or nothing is stored.
    // The transaction fails when `body` returns false or any write inside it fails. Nested
    // calls join the outermost transaction.
    bool transaction(const std::function<bool()>& body);

    const std::string& lastError() const { return lastError_; }
    ListChanges& listChanges() { return listChanges_; }

private:
    class Statement;
    explicit Registry(sqlite3* db) : db_(db) {}
    bool initialise(bool& damaged);
    bool exec(const char* sql);
    sqlite3_stmt* prepare(const char* sql);
    bool fail(const std::string& what);
    std::optional<RegKey> childKey(RegKey parent, std::string_view name);
    std::optional<RegKey> insertChild(RegKey parent, std::string_view name);

    sqlite3* db_;
    std::unordered_map<const char*, sqlite3_stmt*> statements_;
    std::string lastError_;
    int depth_ = 0;        // nesting of transaction()
    bool failed_ = false;  // a write inside the running transaction failed
    ListChanges listChanges_;
};
