// Holds an exclusive lock on a data file, as another program writing it would,
// until its standard input closes: prints "locked" once the lock is held.
#include <sqlite3.h>
#include <cstdio>

int main(int argc, char** argv)
{
    if (argc < 2)
        return 2;
    sqlite3* h = nullptr;
    if (sqlite3_open_v2(argv[1], &h, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK)
        return 1;
    // In exclusive locking mode a write keeps the whole file locked, so that no one else can even read it.
    if (sqlite3_exec(h, "PRAGMA locking_mode=EXCLUSIVE; BEGIN EXCLUSIVE; CREATE TABLE lock_holder_marker(a);", nullptr,
                     nullptr, nullptr) != SQLITE_OK) {
        std::fprintf(stderr, "%s\n", sqlite3_errmsg(h));
        return 1;
    }
    std::puts("locked");
    std::fflush(stdout);
    while (std::getchar() != EOF) {
    }
    sqlite3_exec(h, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(h);
    return 0;
}
