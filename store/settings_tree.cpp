#include "settings_tree.h"

#include <sqlite3.h>
#include <sys/stat.h>

#include <cstdlib>
#include <functional>
#include <system_error>

namespace velnora {

namespace fs = std::filesystem;

namespace {

// Another copy of the program may hold the file for a moment; wait for it rather than fail.
constexpr int kBusyTimeoutMs = 5000;

const char* const kSchema = R"sql(
CREATE TABLE IF NOT EXISTS keys(
    id INTEGER PRIMARY KEY,
    parent INTEGER REFERENCES keys(id) ON DELETE CASCADE,
    name TEXT NOT NULL COLLATE NOCASE,
    UNIQUE(parent, name));
INSERT OR IGNORE INTO keys(id, parent, name) VALUES(1, NULL, '');
CREATE TABLE IF NOT EXISTS vals(
    key INTEGER NOT NULL REFERENCES keys(id) ON DELETE CASCADE,
    name TEXT NOT NULL COLLATE NOCASE,
    type INTEGER NOT NULL,
    data,
    PRIMARY KEY(key, name));
)sql";

// The root row every key path starts from.
constexpr std::int64_t kRootId = 1;

// An SQLite failure inside one operation; the code decides whether the file is moved aside.
struct SqlError {
    int rc;
};

// Our fixed statements did not compile: the file has no tree yet, or tables that are not ours.
constexpr int kStatementRefused = -1;

bool meansUnreadableFile(int rc) {
    return rc == SQLITE_NOTADB || rc == SQLITE_CORRUPT;
}

void check(int rc) {
    if (rc != SQLITE_OK && rc != SQLITE_ROW && rc != SQLITE_DONE) throw SqlError{rc};
}

// A prepared statement that is finalised however the operation ends.
class Statement {
public:
    Statement(sqlite3* db, const char* sql) {
        const int rc = sqlite3_prepare_v2(db, sql, -1, &stmt_, nullptr);
        check(rc == SQLITE_ERROR ? kStatementRefused : rc);
    }
    ~Statement() { sqlite3_finalize(stmt_); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    Statement& bind(int index, std::int64_t value) {
        check(sqlite3_bind_int64(stmt_, index, value));
        return *this;
    }
    Statement& bind(int index, std::string_view text) {
        check(sqlite3_bind_text(stmt_, index, text.data(), static_cast<int>(text.size()),
                                SQLITE_TRANSIENT));
        return *this;
    }
    Statement& bindBlob(int index, const std::vector<std::uint8_t>& bytes) {
        // A zero-length blob must still be a blob, not NULL.
        check(sqlite3_bind_blob(stmt_, index, bytes.empty() ? "" : (const void*)bytes.data(),
                                static_cast<int>(bytes.size()), SQLITE_TRANSIENT));
        return *this;
    }
    // Advances to the next row; false when there is none.
    // Makes the statement ready to run again with new values.
    void reset() {
        sqlite3_reset(stmt_);
        sqlite3_clear_bindings(stmt_);
    }
    bool step() {
        const int rc = sqlite3_step(stmt_);
        check(rc);
        return rc == SQLITE_ROW;
    }
    std::int64_t integer(int column) const { return sqlite3_column_int64(stmt_, column); }
    std::string text(int column) const {
        const auto* p = sqlite3_column_text(stmt_, column);
        return p ? std::string(reinterpret_cast<const char*>(p),
                               static_cast<std::size_t>(sqlite3_column_bytes(stmt_, column)))
                 : std::string();
    }
    std::vector<std::uint8_t> blob(int column) const {
        const auto* p = static_cast<const std::uint8_t*>(sqlite3_column_blob(stmt_, column));
        const auto n = static_cast<std::size_t>(sqlite3_column_bytes(stmt_, column));
        return p ? std::vector<std::uint8_t>(p, p + n) : std::vector<std::uint8_t>();
    }

private:
    sqlite3_stmt* stmt_ = nullptr;
};

void exec(sqlite3* db, const char* sql) {
    check(sqlite3_exec(db, sql, nullptr, nullptr, nullptr));
}

// The id of the key `path` below `from`; created when missing and `create` is set.
std::optional<std::int64_t> findKey(sqlite3* db, std::int64_t from, const KeyPath& path,
                                    bool create) {
    std::int64_t id = from;
    Statement find(db, "SELECT id FROM keys WHERE parent = ? AND name = ?");
    for (const std::string& name : path) {
        find.reset();
        find.bind(1, id).bind(2, name);
        if (find.step()) {
            id = find.integer(0);
            continue;
        }
        if (!create) return std::nullopt;
        Statement insert(db, "INSERT INTO keys(parent, name) VALUES(?, ?)");
        insert.bind(1, id).bind(2, name).step();
        id = sqlite3_last_insert_rowid(db);
    }
    return id;
}

// Whether the file holds both of our tables; a fresh or empty file does not.
bool hasTables(sqlite3* db) {
    Statement count(db, "SELECT count(*) FROM sqlite_master WHERE type = 'table' "
                        "AND name IN ('keys', 'vals')");
    count.step();
    return count.integer(0) == 2;
}

// Identifies the file behind a path, to notice when another copy has replaced it.
struct FileId {
    dev_t dev = 0;
    ino_t ino = 0;
    bool valid = false;
};

FileId fileIdOf(const fs::path& file) {
    struct stat st {};
    if (::stat(file.c_str(), &st) != 0) return {};
    return {st.st_dev, st.st_ino, true};
}

// Renames an unreadable tree out of the way, keeping every earlier one. The file is only moved
// when it is still the one we found bad: another copy may already have put a fresh tree there.
void moveAside(const fs::path& file, const FileId& seen) {
    const FileId now = fileIdOf(file);
    if (!seen.valid || !now.valid || now.dev != seen.dev || now.ino != seen.ino) return;
    fs::path target = file.string() + ".corrupt";
    std::error_code ec;
    for (int n = 2; fs::exists(target, ec) && n < 1000; ++n)
        target = file.string() + ".corrupt" + std::to_string(n);
    fs::rename(file, target, ec);
    if (ec) return;
    // A journal left beside the bad file would be played back into the fresh one.
    const fs::path journal = file.string() + "-journal";
    if (fs::exists(journal, ec)) fs::rename(journal, target.string() + "-journal", ec);
}

enum class Outcome { done, failed, unreadable };

// Runs one operation on its own connection, inside one transaction.
Outcome runOnce(const TreeLocation& where, bool writing,
                const std::function<void(sqlite3*)>& body) {
    std::error_code ec;
    if (writing) {
        if (!where.writable) return Outcome::failed;
        if (where.file.has_parent_path()) fs::create_directories(where.file.parent_path(), ec);
    } else if (!fs::is_regular_file(where.file, ec)) {
        return Outcome::failed;
    }

    sqlite3* db = nullptr;
    // Reads of a tree we own open it writable too: after a crash in the middle of a write only
    // a writable connection can roll the file back, and until then a read-only one sees nothing.
    const int flags = writing          ? (SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE)
                      : where.writable ? SQLITE_OPEN_READWRITE
                                       : SQLITE_OPEN_READONLY;
    if (sqlite3_open_v2(where.file.c_str(), &db, flags, nullptr) != SQLITE_OK) {
        sqlite3_close_v2(db);
        return Outcome::failed;
    }
    const FileId opened = fileIdOf(where.file);
    Outcome outcome = Outcome::done;
    bool inTransaction = false;
    try {
        sqlite3_busy_timeout(db, kBusyTimeoutMs);
        if (writing) {
            // Deleting a key takes its subkeys and values along only with this on.
            exec(db, "PRAGMA foreign_keys = ON");
            exec(db, "BEGIN IMMEDIATE");
            inTransaction = true;
            // Tables of the same names but other columns: a file that is not ours.
            if (const int rc = sqlite3_exec(db, kSchema, nullptr, nullptr, nullptr);
                rc != SQLITE_OK)
                throw SqlError{rc == SQLITE_ERROR ? SQLITE_NOTADB : rc};
            body(db);
        } else {
            exec(db, "BEGIN");
            inTransaction = true;
            body(db);
        }
        exec(db, "COMMIT");
        inTransaction = false;
    } catch (const SqlError& e) {
        outcome = meansUnreadableFile(e.rc) ? Outcome::unreadable : Outcome::failed;
        if (e.rc == kStatementRefused) {
            // A file without our tables is an empty tree to a reader; tables of the same names
            // with other columns make the file as unusable as a damaged one.
            try {
                outcome = !writing && !hasTables(db) ? Outcome::done : Outcome::unreadable;
            } catch (const SqlError& again) {
                outcome = meansUnreadableFile(again.rc) ? Outcome::unreadable : Outcome::failed;
            }
        }
    }
    if (inTransaction) sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close_v2(db);
    if (outcome == Outcome::unreadable && where.writable) moveAside(where.file, opened);
    return outcome;
}

// Runs an operation; a write that found the file unreadable is done again on the fresh tree.
bool run(const TreeLocation& where, bool writing, const std::function<void(sqlite3*)>& body) {
    Outcome outcome = runOnce(where, writing, body);
    if (outcome == Outcome::unreadable && writing) outcome = runOnce(where, writing, body);
    return outcome == Outcome::done;
}

std::optional<fs::path> envPath(const char* name) {
    const char* value = std::getenv(name);
    if (value == nullptr || *value == '\0') return std::nullopt;
    return fs::path(value);
}

// An XDG base directory: the variable when it holds an absolute path, else $HOME + fallback.
std::optional<fs::path> xdgHome(const char* name, const char* fallbackBelowHome) {
    if (auto dir = envPath(name); dir && dir->is_absolute()) return dir;
    if (auto home = envPath("HOME")) return *home / fallbackBelowHome;
    return std::nullopt;
}

} // namespace

std::optional<TreeLocation> perUserTree() {
    if (auto file = envPath("VELNORA_USER_STORE")) return TreeLocation{*file, true};
    if (auto dir = xdgHome("XDG_CONFIG_HOME", ".config"))
        return TreeLocation{*dir / "velnora" / "settings.db", true};
    return std::nullopt;
}

std::optional<TreeLocation> machineWideTree() {
    if (auto file = envPath("VELNORA_MACHINE_STORE")) return TreeLocation{*file, false};
    std::string dirs = "/etc/xdg";
    if (const char* value = std::getenv("XDG_CONFIG_DIRS"); value && *value) dirs = value;
    std::size_t start = 0;
    while (start <= dirs.size()) {
        std::size_t end = dirs.find(':', start);
        if (end == std::string::npos) end = dirs.size();
        const fs::path dir = dirs.substr(start, end - start);
        std::error_code ec;
        if (dir.is_absolute() && fs::is_regular_file(dir / "velnora" / "settings.db", ec))
            return TreeLocation{dir / "velnora" / "settings.db", false};
        start = end + 1;
    }
    return std::nullopt;
}

std::optional<TreeLocation> treeBesidePerUser(std::string_view rootName) {
    auto user = perUserTree();
    if (!user) return std::nullopt;
    const fs::path& file = user->file;
    fs::path name = file.stem();
    name += "-";
    name += std::string(rootName);
    name += file.extension();
    return TreeLocation{file.parent_path() / name, true};
}

std::optional<StoredValue> SettingsTree::readValue(const KeyPath& key,
                                                   std::string_view name) const {
    std::optional<StoredValue> result;
    const bool ok = run(where_, false, [&](sqlite3* db) {
        const auto id = findKey(db, kRootId, key, false);
        if (!id) return;
        Statement read(db, "SELECT type, data FROM vals WHERE key = ? AND name = ?");
        read.bind(1, *id).bind(2, name);
        if (!read.step()) return;
        StoredValue value;
        value.type = static_cast<int>(read.integer(0));
        switch (static_cast<StoredType>(value.type)) {
        case StoredType::string:
        case StoredType::expandString:
            value.text = read.text(1);
            break;
        case StoredType::binary:
            value.bytes = read.blob(1);
            break;
        case StoredType::integer:
            value.integer = read.integer(1);
            break;
        }
        result = std::move(value);
    });
    return ok ? result : std::nullopt;
}

bool SettingsTree::valueExists(const KeyPath& key, std::string_view name) const {
    bool exists = false;
    const bool ok = run(where_, false, [&](sqlite3* db) {
        const auto id = findKey(db, kRootId, key, false);
        if (!id) return;
        Statement find(db, "SELECT 1 FROM vals WHERE key = ? AND name = ?");
        find.bind(1, *id).bind(2, name);
        exists = find.step();
    });
    return ok && exists;
}

bool SettingsTree::writeValue(const KeyPath& key, std::string_view name,
                              const StoredValue& value) const {
    return run(where_, true, [&](sqlite3* db) {
        const auto id = findKey(db, kRootId, key, true);
        // Replacing the row also takes the spelling of the latest write and drops the old type.
        Statement write(db, "INSERT OR REPLACE INTO vals(key, name, type, data) "
                            "VALUES(?, ?, ?, ?)");
        write.bind(1, *id).bind(2, name).bind(3, static_cast<std::int64_t>(value.type));
        switch (static_cast<StoredType>(value.type)) {
        case StoredType::string:
        case StoredType::expandString:
            write.bind(4, value.text);
            break;
        case StoredType::binary:
            write.bindBlob(4, value.bytes);
            break;
        case StoredType::integer:
        default:
            write.bind(4, value.integer);
            break;
        }
        write.step();
    });
}

bool SettingsTree::keyExists(const KeyPath& key) const {
    bool exists = false;
    const bool ok = run(
        where_, false, [&](sqlite3* db) { exists = findKey(db, kRootId, key, false).has_value(); });
    return ok && exists;
}

bool SettingsTree::deleteKey(const KeyPath& base, const KeyPath& sub) const {
    // Without a subkey this would delete the base key itself, which no caller asks for.
    std::error_code ec;
    if (sub.empty() || !fs::is_regular_file(where_.file, ec)) return false;
    bool deleted = false;
    const bool ok = run(where_, true, [&](sqlite3* db) {
        // Deleting below a key that does not exist must not create it on the way.
        const auto baseId = findKey(db, kRootId, base, false);
        if (!baseId) return;
        const auto id = findKey(db, *baseId, sub, false);
        if (!id) return;
        Statement remove(db, "DELETE FROM keys WHERE id = ?");
        remove.bind(1, *id).step();
        deleted = sqlite3_changes(db) > 0;
    });
    return ok && deleted;
}

std::optional<std::vector<std::string>> SettingsTree::keyNames(const KeyPath& key) const {
    std::optional<std::vector<std::string>> names;
    const bool ok = run(where_, false, [&](sqlite3* db) {
        const auto id = findKey(db, kRootId, key, false);
        if (!id) return;
        Statement list(db, "SELECT name FROM keys WHERE parent = ? ORDER BY name");
        list.bind(1, *id);
        names.emplace();
        while (list.step())
            names->push_back(list.text(0));
    });
    return ok ? names : std::nullopt;
}

} // namespace velnora
