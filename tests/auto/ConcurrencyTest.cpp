// Several copies of the program sharing one store: each copy is a forked process with its own
// connection.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>

#include "TempProfile.h"
#include "auto/CRecordStore.h"
#include "auto/CSettingsSection.h"

namespace {

class ConcurrencyTest : public TempProfile {
protected:
    void SetUp() override {
        CRecordStore store(*registry);
        ASSERT_TRUE(store.SelectKind(RecordKind::Service));
        for (const std::string& title : {first, second})
            ASSERT_TRUE(store.WriteRecord(*store.AddRecord(store.Section()), {{"Title", title}}));
        registry.reset();  // children must not inherit an open connection
    }

    // Runs `body` in a child process with a store of its own; the child exits 0 when every
    // write succeeded.
    pid_t spawn(const std::function<bool(Registry&)>& body) {
        pid_t pid = fork();
        if (pid == 0) {
            auto own = Registry::open(dbPath);
            _exit(own.registry && body(*own.registry) ? 0 : 1);
        }
        return pid;
    }

    static int exitCode(pid_t pid) {
        int status = 0;
        waitpid(pid, &status, 0);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    static std::vector<Record> list(int size, const std::string& tag) {
        std::vector<Record> records;
        for (int i = 0; i < size; ++i)
            records.push_back({{"Title", tag + std::to_string(i)}, {"Location", tag}});
        return records;
    }

    std::vector<Record> load(Registry& store, const std::string& service) {
        std::vector<Record> records;
        CRecordStore(store).LoadList(service, RecordKind::Bookmark, records);
        return records;
    }

    const std::string first = cp("하이텔");
    const std::string second = cp("천리안");
};

TEST_F(ConcurrencyTest, TwoCopiesSavingDifferentThingsLoseNothing) {
    auto writer = [&](const std::string& service, const std::string& tag) {
        return [&, service, tag](Registry& store) {
            for (int round = 0; round < 40; ++round) {
                CSettingsSection settings(store, "Settings");
                if (!CRecordStore(store).SaveList(service, RecordKind::Bookmark,
                                                  list(20 + round, tag)) ||
                    !settings.SetInt(tag + std::to_string(round), round))
                    return false;
            }
            return true;
        };
    };
    pid_t a = spawn(writer(first, "A"));
    pid_t b = spawn(writer(second, "B"));
    ASSERT_EQ(exitCode(a), 0);
    ASSERT_EQ(exitCode(b), 0);

    registry = openStore();
    EXPECT_EQ(load(*registry, first), list(59, "A"));
    EXPECT_EQ(load(*registry, second), list(59, "B"));
    CSettingsSection settings(*registry, "Settings");
    for (int round = 0; round < 40; ++round) {
        EXPECT_EQ(settings.GetInt("A" + std::to_string(round), -1), round);
        EXPECT_EQ(settings.GetInt("B" + std::to_string(round), -1), round);
    }
}

TEST_F(ConcurrencyTest, TwoCopiesSavingTheSameListNeverMixThem) {
    auto writer = [&](int size, const std::string& tag) {
        return [&, size, tag](Registry& store) {
            for (int round = 0; round < 15; ++round)
                if (!CRecordStore(store).SaveList(first, RecordKind::Bookmark, list(size, tag)))
                    return false;
            return true;
        };
    };
    pid_t a = spawn(writer(300, "A"));
    pid_t b = spawn(writer(200, "B"));
    registry = openStore();
    const auto listA = list(300, "A"), listB = list(200, "B");
    int reads = 0;
    for (int status = 0; waitpid(a, &status, WNOHANG) == 0 || reads < 5; ++reads) {
        auto seen = load(*registry, first);
        EXPECT_TRUE(seen.empty() || seen == listA || seen == listB) << seen.size();
    }
    ASSERT_EQ(exitCode(b), 0);
    auto final = load(*registry, first);
    EXPECT_TRUE(final == listA || final == listB);
}

TEST_F(ConcurrencyTest, AWriterKilledMidSaveLeavesTheOldOrTheNewList) {
    registry = openStore();
    ASSERT_TRUE(CRecordStore(*registry).SaveList(first, RecordKind::Bookmark, list(400, "X")));
    registry.reset();
    const auto listX = list(400, "X"), listY = list(700, "Y");
    for (int attempt = 0; attempt < 5; ++attempt) {
        pid_t pid = spawn([&](Registry& store) {
            for (int round = 0;; ++round)
                CRecordStore(store).SaveList(first, RecordKind::Bookmark,
                                             round % 2 ? listX : listY);
            return true;
        });
        usleep(20000 + attempt * 17000);
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);

        registry = openStore();
        auto seen = load(*registry, first);
        EXPECT_TRUE(seen == listX || seen == listY) << "attempt " << attempt << ": " << seen.size();
        registry.reset();
    }
}

}  // namespace
