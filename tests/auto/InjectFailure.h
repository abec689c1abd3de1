#pragma once
// Makes later writes to the store fail, through a trigger added by a connection of its own.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <string>

inline void injectFailure(const std::string& dbPath, const std::string& when) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(dbPath.c_str(), &db), SQLITE_OK);
    std::string sql =
        "CREATE TRIGGER injected " + when + " BEGIN SELECT RAISE(ABORT, 'injected'); END";
    char* error = nullptr;
    EXPECT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error), SQLITE_OK) << error;
    sqlite3_free(error);
    sqlite3_close(db);
}
