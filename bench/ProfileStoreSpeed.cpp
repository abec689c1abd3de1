// Profile store speed: saving and loading long record lists and reading settings, against
// plain SQLite doing the same rows in the same run (the peer).
#include <sqlite3.h>
#include <stdlib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "auto/CRecordStore.h"
#include "auto/CSettingsSection.h"
#include "auto/Registry.h"

namespace {

constexpr int kLongList = 10000;
constexpr int kShortList = 1000;
constexpr int kReads = 100000;
constexpr double kShortListTargetMs = 50;

double millis(const std::function<void()>& work) {
    auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

double medianMillis(int runs, const std::function<void()>& work) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i)
        times.push_back(millis(work));
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

std::vector<Record> bookmarks(int n) {
    std::vector<Record> list;
    for (int i = 0; i < n; ++i) {
        std::string s = std::to_string(i);
        list.push_back({{"Title", "bookmark " + s},
                        {"Location", "LOC" + s},
                        {"VTime", "9" + s},
                        {"InfoCode", "I" + s},
                        {"IconIndex", "3"},
                        {"ReadOnly", "0"}});
    }
    return list;
}

// The peer: the same records as flat rows in plain SQLite, replaced in one transaction.
class PlainSqlite {
public:
    explicit PlainSqlite(const std::string& path) {
        sqlite3_open(path.c_str(), &db_);
        sqlite3_exec(db_,
                     "PRAGMA journal_mode=WAL; PRAGMA synchronous=NORMAL;"
                     "CREATE TABLE rows(idx INTEGER, field TEXT, data TEXT,"
                     " PRIMARY KEY(idx, field)) WITHOUT ROWID;"
                     "CREATE TABLE settings(name TEXT PRIMARY KEY, data TEXT) WITHOUT ROWID;",
                     nullptr, nullptr, nullptr);
    }
    ~PlainSqlite() { sqlite3_close(db_); }

    void save(const std::vector<Record>& records) {
        sqlite3_exec(db_, "BEGIN IMMEDIATE; DELETE FROM rows;", nullptr, nullptr, nullptr);
        sqlite3_stmt* insert = nullptr;
        sqlite3_prepare_v2(db_, "INSERT INTO rows VALUES (?, ?, ?)", -1, &insert, nullptr);
        for (size_t i = 0; i < records.size(); ++i) {
            for (const auto& [field, data] : records[i]) {
                sqlite3_bind_int64(insert, 1, i);
                sqlite3_bind_text(insert, 2, field.c_str(), -1, SQLITE_TRANSIENT);
                sqlite3_bind_text(insert, 3, data.c_str(), -1, SQLITE_TRANSIENT);
                sqlite3_step(insert);
                sqlite3_reset(insert);
            }
        }
        sqlite3_finalize(insert);
        sqlite3_exec(db_, "COMMIT", nullptr, nullptr, nullptr);
    }

    size_t load() {
        sqlite3_stmt* select = nullptr;
        sqlite3_prepare_v2(db_, "SELECT idx, field, data FROM rows ORDER BY idx", -1, &select,
                           nullptr);
        std::vector<Record> records;
        while (sqlite3_step(select) == SQLITE_ROW) {
            size_t idx = sqlite3_column_int64(select, 0);
            if (records.size() <= idx) records.resize(idx + 1);
            records[idx][reinterpret_cast<const char*>(sqlite3_column_text(select, 1))] =
                reinterpret_cast<const char*>(sqlite3_column_text(select, 2));
        }
        sqlite3_finalize(select);
        return records.size();
    }

    int read(const std::string& name) {
        if (!get_)
            sqlite3_prepare_v2(db_, "SELECT data FROM settings WHERE name = ?", -1, &get_, nullptr);
        sqlite3_bind_text(get_, 1, name.c_str(), -1, SQLITE_TRANSIENT);
        int value = sqlite3_step(get_) == SQLITE_ROW ? sqlite3_column_int(get_, 0) : 0;
        sqlite3_reset(get_);
        return value;
    }

    void write(const std::string& name, int value) {
        std::string sql = "INSERT OR REPLACE INTO settings VALUES ('" + name + "', '" +
                          std::to_string(value) + "')";
        sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, nullptr);
    }

private:
    sqlite3* db_ = nullptr;
    sqlite3_stmt* get_ = nullptr;
};

void report(const char* what, double ours, double peer) {
    std::printf("%-40s %9.1f ms   plain SQLite %8.1f ms   ratio %5.2f\n", what, ours, peer,
                peer > 0 ? ours / peer : 0.0);
}

}  // namespace

int main() {
    char pattern[] = "/tmp/quilite-bench-XXXXXX";
    std::string dir = mkdtemp(pattern);
    bool ok = true;
    {
        auto opened = Registry::open(dir + "/profile.db");
        if (!opened.registry) {
            std::fprintf(stderr, "cannot open the store: %s\n", opened.error.c_str());
            return 1;
        }
        Registry& registry = *opened.registry;
        PlainSqlite peer(dir + "/peer.db");
        CRecordStore store(registry);
        store.SelectKind(RecordKind::Service);
        store.WriteRecord(*store.AddRecord(store.Section()), {{"Title", "service"}});

        const auto longList = bookmarks(kLongList), shortList = bookmarks(kShortList);
        double save =
            millis([&] { ok &= store.SaveList("service", RecordKind::Bookmark, longList); });
        double peerSave = millis([&] { peer.save(longList); });
        report("save a list of 10,000 records", save, peerSave);

        std::vector<Record> loaded;
        double load = millis([&] { store.LoadList("service", RecordKind::Bookmark, loaded); });
        size_t peerLoaded = 0;
        double peerLoad = millis([&] { peerLoaded = peer.load(); });
        report("load a list of 10,000 records", load, peerLoad);
        ok &= loaded == longList && peerLoaded == longList.size();

        double saveShort = medianMillis(
            7, [&] { ok &= store.SaveList("service", RecordKind::Bookmark, shortList); });
        double peerShort = medianMillis(7, [&] { peer.save(shortList); });
        report("save a list of 1,000 records (median)", saveShort, peerShort);

        CSettingsSection settings(registry, "Settings");
        for (int i = 0; i < 50; ++i) {
            settings.SetInt("Value" + std::to_string(i), i);
            peer.write("Value" + std::to_string(i), i);
        }
        long sum = 0, peerSum = 0;
        double reads = millis([&] {
            for (int i = 0; i < kReads; ++i)
                sum += settings.GetInt("Value" + std::to_string(i % 50), 0);
        });
        double peerReads = millis([&] {
            for (int i = 0; i < kReads; ++i)
                peerSum += peer.read("Value" + std::to_string(i % 50));
        });
        report("read 100,000 settings", reads, peerReads);
        ok &= sum == peerSum;

        std::printf("target: a 1,000-record list save under %.0f ms: %s (%.1f ms)\n",
                    kShortListTargetMs, saveShort < kShortListTargetMs ? "met" : "MISSED",
                    saveShort);
    }
    std::filesystem::remove_all(dir);
    if (!ok) std::fprintf(stderr, "the store returned other data than was saved\n");
    return ok ? 0 : 1;
}
