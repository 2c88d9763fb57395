#include "game_files.h"

#include "saved_game.h"

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <unistd.h>

namespace velnora {

std::filesystem::path dataFolder() {
    std::filesystem::path base;
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg)
        base = xdg;
    else if (const char* home = std::getenv("HOME"); home && *home)
        base = std::filesystem::path(home) / ".local" / "share";
    else
        base = std::filesystem::temp_directory_path();
    std::filesystem::path folder = base / "velnora";
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    return folder;
}

std::filesystem::path autosavePath() {
    return dataFolder() / savegame::kAutosaveName;
}

bool writeFileAtomically(const std::filesystem::path& target, std::string_view content) {
    std::filesystem::path temp = target;
    temp += ".tmp-" + std::to_string(::getpid());
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) return false;
    bool ok = true;
    std::size_t written = 0;
    while (ok && written < content.size()) {
        const ssize_t n = ::write(fd, content.data() + written, content.size() - written);
        if (n <= 0)
            ok = false;
        else
            written += static_cast<std::size_t>(n);
    }
    ok = ok && ::fsync(fd) == 0;
    ok = (::close(fd) == 0) && ok;
    if (ok) ok = std::rename(temp.c_str(), target.c_str()) == 0;
    if (!ok) {
        std::error_code ec;
        std::filesystem::remove(temp, ec);
    }
    return ok;
}

ReadStatus readWholeFile(const std::filesystem::path& file, std::size_t maxBytes,
                         std::string& out) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(file, ec)) return ReadStatus::missing;
    std::ifstream in(file, std::ios::binary);
    if (!in) return ReadStatus::failed;
    out.assign(maxBytes + 1, '\0');
    in.read(out.data(), static_cast<std::streamsize>(out.size()));
    if (in.bad()) return ReadStatus::failed;
    out.resize(static_cast<std::size_t>(in.gcount()));
    if (out.size() > maxBytes) return ReadStatus::tooLarge;
    return ReadStatus::ok;
}

} // namespace velnora
