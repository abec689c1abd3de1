#include "auto/Registry.h"

#include <sqlite3.h>

namespace {

constexpr int kSchemaVersion = 1;

const char* const kSchema = R"(
CREATE TABLE IF NOT EXISTS keys(
  id INTEGER PRIMARY KEY,
  parent INTEGER REFERENCES keys(id) ON DELETE CASCADE,
  name BLOB NOT NULL,
  fold BLOB NOT NULL,
  sortkey BLOB NOT NULL,
  UNIQUE(parent, fold));
CREATE INDEX IF NOT EXISTS keys_order ON keys(parent, sortkey);
CREATE TABLE IF NOT EXISTS vals(
  key INTEGER NOT NULL REFERENCES keys(id) ON DELETE CASCADE,
  name BLOB NOT NULL,
  fold BLOB NOT NULL,
  sortkey BLOB NOT NULL,
  data BLOB NOT NULL,
  PRIMARY KEY(key, fold)) WITHOUT ROWID;
CREATE INDEX IF NOT EXISTS vals_order ON vals(key, sortkey);
INSERT OR IGNORE INTO keys VALUES
  (1, NULL, 'HKEY_CURRENT_USER', 'HKEY_CURRENT_USER', 'HKEY_CURRENT_USER'),
  (2, NULL, 'HKEY_LOCAL_MACHINE', 'HKEY_LOCAL_MACHINE', 'HKEY_LOCAL_MACHINE');
PRAGMA user_version = 1;
)";

bool isLeadByte(unsigned char c) {
    return c >= 0x81 && c <= 0xFE;
}

bool allDigits(std::string_view name) {
    if (name.empty()) return false;
    for (char c : name)
        if (c < '0' || c > '9') return false;
    return true;
}

// All-digit names sort first, by numeric value (digit count, then digits, leading zeros
// ignored), ties broken by the name itself; the others follow in folded byte order.
std::string sortKey(std::string_view name) {
    if (!allDigits(name)) return '\x02' + Registry::foldName(name);
    std::string_view digits = name.substr(std::min(name.find_first_not_of('0'), name.size()));
    std::string key = "\x01";
    uint32_t length = digits.size();
    for (int shift = 24; shift >= 0; shift -= 8)
        key += char((length >> shift) & 0xFF);
    key.append(digits);
    key += '\0';
    key.append(name);
    return key;
}

std::vector<std::string_view> splitPath(std::string_view path) {
    std::vector<std::string_view> parts;
    size_t start = 0;
    while (start <= path.size()) {
        size_t end = std::min(path.find('\\', start), path.size());
        if (end > start) parts.push_back(path.substr(start, end - start));
        start = end + 1;
    }
    return parts;
}

std::string columnText(sqlite3_stmt* stmt, int column) {
    const void* data = sqlite3_column_blob(stmt, column);
    int size = sqlite3_column_bytes(stmt, column);
    return data ? std::string(static_cast<const char*>(data), size) : std::string();
}

}  // namespace

// A cached prepared statement, reset and unbound when the wrapper goes out of scope.
class Registry::Statement {
public:
    Statement(Registry& registry, const char* sql) : stmt_(registry.prepare(sql)) {}
    ~Statement() {
        if (!stmt_) return;
        sqlite3_reset(stmt_);
        sqlite3_clear_bindings(stmt_);
    }
    explicit operator bool() const { return stmt_ != nullptr; }
    Statement& bind(int64_t v) {
        sqlite3_bind_int64(stmt_, ++index_, v);
        return *this;
    }
    Statement& bind(std::string_view v) {
        // A null pointer would bind SQL NULL; every name and datum is a (maybe empty) blob.
        sqlite3_bind_blob(stmt_, ++index_, v.data() ? v.data() : "", int(v.size()),
                          SQLITE_TRANSIENT);
        return *this;
    }
    int step() { return stmt_ ? sqlite3_step(stmt_) : SQLITE_ERROR; }
    sqlite3_stmt* get() const { return stmt_; }

private:
    sqlite3_stmt* stmt_;
    int index_ = 0;
};

std::string Registry::foldName(std::string_view name) {
    std::string folded(name);
    for (size_t i = 0; i < folded.size(); ++i) {
        unsigned char c = folded[i];
        if (isLeadByte(c) && i + 1 < folded.size())
            ++i;  // a double-byte character: its trail byte may look like a letter
        else if (c >= 'a' && c <= 'z')
            folded[i] = char(c - 'a' + 'A');
    }
    return folded;
}

Registry::Opened Registry::open(const std::string& path, int busyTimeoutMs) {
    Opened result;
    sqlite3* db = nullptr;
    int rc =
        sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    if (rc != SQLITE_OK) {
        result.error = db ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
        result.damaged = rc == SQLITE_NOTADB || rc == SQLITE_CORRUPT;
        sqlite3_close(db);
        return result;
    }
    sqlite3_busy_timeout(db, busyTimeoutMs);
    std::unique_ptr<Registry> registry(new Registry(db));
    if (!registry->initialise(result.damaged)) {
        result.error = registry->lastError_;
        return result;
    }
    result.registry = std::move(registry);
    return result;
}

Registry::~Registry() {
    for (auto& [sql, stmt] : statements_)
        sqlite3_finalize(stmt);
    sqlite3_close(db_);
}

// Checks that the file is intact and ours, then creates the tables when they are missing.
bool Registry::initialise(bool& damaged) {
    auto isDamage = [&] {
        int code = sqlite3_errcode(db_);
        return code == SQLITE_NOTADB || code == SQLITE_CORRUPT;
    };
    int version = -1;
    int tables = 0;
    {
        Statement check(*this,
                        "SELECT (SELECT user_version FROM pragma_user_version),"
                        " (SELECT count(*) FROM sqlite_schema WHERE type = 'table')");
        if (!check || check.step() != SQLITE_ROW) {
            damaged = isDamage();
            return fail("cannot read the profile store");
        }
        version = sqlite3_column_int(check.get(), 0);
        tables = sqlite3_column_int(check.get(), 1);
    }
    if (version > kSchemaVersion) return fail("the profile store was made by a newer version");
    if (version == 0 && tables > 0) {
        damaged = true;
        return fail("the file is not a profile store");
    }
    {
        Statement check(*this, "PRAGMA quick_check");
        if (!check || check.step() != SQLITE_ROW || columnText(check.get(), 0) != "ok") {
            damaged = true;
            return fail("the profile store is damaged");
        }
    }
    if (!exec("PRAGMA foreign_keys = ON") || !exec("PRAGMA synchronous = NORMAL")) return false;
    {
        Statement mode(*this, "PRAGMA journal_mode = WAL");
        if (mode.step() != SQLITE_ROW || columnText(mode.get(), 0) != "wal")
            return fail("cannot switch the profile store to write-ahead logging");
    }
    if (version == kSchemaVersion) return true;
    return transaction([&] { return exec(kSchema); });
}

bool Registry::exec(const char* sql) {
    if (sqlite3_exec(db_, sql, nullptr, nullptr, nullptr) == SQLITE_OK) return true;
    return fail(sql);
}

sqlite3_stmt* Registry::prepare(const char* sql) {
    auto found = statements_.find(sql);
    if (found != statements_.end()) return found->second;
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v3(db_, sql, -1, SQLITE_PREPARE_PERSISTENT, &stmt, nullptr) != SQLITE_OK) {
        fail(sql);
        return nullptr;
    }
    statements_[sql] = stmt;
    return stmt;
}

bool Registry::fail(const std::string& what) {
    lastError_ = what + ": " + sqlite3_errmsg(db_);
    if (depth_ > 0) failed_ = true;
    return false;
}

const char* Registry::hiveName(Hive hive) {
    return hive == Hive::CurrentUser ? "HKEY_CURRENT_USER" : "HKEY_LOCAL_MACHINE";
}

RegKey Registry::hive(Hive hive) const {
    return RegKey{hive == Hive::CurrentUser ? 1 : 2};
}

std::optional<std::pair<Hive, std::string_view>> Registry::splitHive(std::string_view fullPath) {
    size_t end = std::min(fullPath.find('\\'), fullPath.size());
    std::string root = foldName(fullPath.substr(0, end));
    std::string_view rest = fullPath.substr(std::min(end + 1, fullPath.size()));
    for (Hive hive : {Hive::CurrentUser, Hive::LocalMachine})
        if (root == hiveName(hive)) return std::make_pair(hive, rest);
    return std::nullopt;
}

std::optional<RegKey> Registry::childKey(RegKey parent, std::string_view name) {
    Statement find(*this, "SELECT id FROM keys WHERE parent = ? AND fold = ?");
    find.bind(parent.id).bind(foldName(name));
    if (find.step() != SQLITE_ROW) return std::nullopt;
    return RegKey{sqlite3_column_int64(find.get(), 0)};
}

std::optional<RegKey> Registry::insertChild(RegKey parent, std::string_view name) {
    Statement insert(*this, "INSERT INTO keys(parent, name, fold, sortkey) VALUES (?, ?, ?, ?)");
    insert.bind(parent.id).bind(name).bind(foldName(name)).bind(sortKey(name));
    if (insert.step() != SQLITE_DONE) {
        fail("cannot create a key");
        return std::nullopt;
    }
    return RegKey{sqlite3_last_insert_rowid(db_)};
}

std::optional<RegKey> Registry::openKey(RegKey parent, std::string_view path) {
    std::optional<RegKey> key = parent;
    for (std::string_view part : splitPath(path)) {
        key = childKey(*key, part);
        if (!key) return std::nullopt;
    }
    return key;
}

std::optional<RegKey> Registry::createKey(RegKey parent, std::string_view path) {
    // Existing keys are found without taking the write lock.
    if (std::optional<RegKey> existing = openKey(parent, path)) return existing;
    std::optional<RegKey> key = parent;
    bool ok = transaction([&] {
        for (std::string_view part : splitPath(path)) {
            std::optional<RegKey> child = childKey(*key, part);
            key = child ? child : insertChild(*key, part);
            if (!key) return false;
        }
        return true;
    });
    return ok ? key : std::nullopt;
}

std::optional<RegKey> Registry::openPath(std::string_view fullPath) {
    auto split = splitHive(fullPath);
    return split ? openKey(hive(split->first), split->second) : std::nullopt;
}

std::optional<RegKey> Registry::createPath(std::string_view fullPath) {
    auto split = splitHive(fullPath);
    return split ? createKey(hive(split->first), split->second) : std::nullopt;
}

bool Registry::deleteKey(RegKey parent, std::string_view name) {
    Statement remove(*this, "DELETE FROM keys WHERE parent = ? AND fold = ?");
    remove.bind(parent.id).bind(foldName(name));
    return remove.step() == SQLITE_DONE || fail("cannot delete a key");
}

bool Registry::deleteKey(RegKey key) {
    if (key == hive(Hive::CurrentUser) || key == hive(Hive::LocalMachine)) {
        lastError_ = "a hive cannot be deleted";
        if (depth_ > 0) failed_ = true;
        return false;
    }
    Statement remove(*this, "DELETE FROM keys WHERE id = ?");
    remove.bind(key.id);
    return remove.step() == SQLITE_DONE || fail("cannot delete a key");
}

bool Registry::deleteSubkeys(RegKey key) {
    Statement remove(*this, "DELETE FROM keys WHERE parent = ?");
    remove.bind(key.id);
    return remove.step() == SQLITE_DONE || fail("cannot delete keys");
}

std::string Registry::keyName(RegKey key) {
    Statement get(*this, "SELECT name FROM keys WHERE id = ?");
    get.bind(key.id);
    return get.step() == SQLITE_ROW ? columnText(get.get(), 0) : std::string();
}

std::vector<RegChild> Registry::subkeys(RegKey key) {
    std::vector<RegChild> children;
    Statement list(*this, "SELECT id, name FROM keys WHERE parent = ? ORDER BY sortkey");
    list.bind(key.id);
    while (list.step() == SQLITE_ROW)
        children.push_back(
            {RegKey{sqlite3_column_int64(list.get(), 0)}, columnText(list.get(), 1)});
    return children;
}

std::vector<RegChildContents> Registry::subkeysWithValues(RegKey key) {
    std::vector<RegChildContents> children;
    Statement list(*this,
                   "SELECT k.id, k.name, v.name, v.data FROM keys k"
                   " LEFT JOIN vals v ON v.key = k.id"
                   " WHERE k.parent = ? ORDER BY k.sortkey, v.sortkey");
    list.bind(key.id);
    while (list.step() == SQLITE_ROW) {
        RegKey child{sqlite3_column_int64(list.get(), 0)};
        if (children.empty() || !(children.back().key == child))
            children.push_back({child, columnText(list.get(), 1), {}});
        if (sqlite3_column_type(list.get(), 2) != SQLITE_NULL)
            children.back().values.push_back(
                {columnText(list.get(), 2), columnText(list.get(), 3)});
    }
    return children;
}

std::optional<std::string> Registry::value(RegKey key, std::string_view name) {
    Statement get(*this, "SELECT data FROM vals WHERE key = ? AND fold = ?");
    get.bind(key.id).bind(foldName(name));
    if (get.step() != SQLITE_ROW) return std::nullopt;
    return columnText(get.get(), 0);
}

std::vector<RegValue> Registry::values(RegKey key) {
    std::vector<RegValue> result;
    Statement list(*this, "SELECT name, data FROM vals WHERE key = ? ORDER BY sortkey");
    list.bind(key.id);
    while (list.step() == SQLITE_ROW)
        result.push_back({columnText(list.get(), 0), columnText(list.get(), 1)});
    return result;
}

bool Registry::setValue(RegKey key, std::string_view name, std::string_view data) {
    // An existing value keeps the case of its name, as registry values do.
    Statement set(*this,
                  "INSERT INTO vals(key, name, fold, sortkey, data) VALUES (?, ?, ?, ?, ?)"
                  " ON CONFLICT(key, fold) DO UPDATE SET data = excluded.data");
    set.bind(key.id).bind(name).bind(foldName(name)).bind(name.empty() ? "" : sortKey(name));
    set.bind(data);
    return set.step() == SQLITE_DONE || fail("cannot write a value");
}

bool Registry::deleteValue(RegKey key, std::string_view name) {
    Statement remove(*this, "DELETE FROM vals WHERE key = ? AND fold = ?");
    remove.bind(key.id).bind(foldName(name));
    return remove.step() == SQLITE_DONE || fail("cannot delete a value");
}

bool Registry::transaction(const std::function<bool()>& body) {
    if (depth_ > 0) {
        ++depth_;
        bool ok = body();
        --depth_;
        if (!ok) failed_ = true;
        return ok;
    }
    if (!exec("BEGIN IMMEDIATE")) return false;
    depth_ = 1;
    failed_ = false;
    lastError_.clear();
    bool ok = false;
    try {
        ok = body() && !failed_;
    } catch (...) {
        depth_ = 0;
        sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
        throw;
    }
    depth_ = 0;
    if (ok && exec("COMMIT")) return true;
    std::string reason = lastError_.empty() ? "the transaction was abandoned" : lastError_;
    if (!sqlite3_get_autocommit(db_)) sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
    lastError_ = reason;
    return false;
}
