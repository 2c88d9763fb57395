#include "data_folder.h"

#include <cstdlib>
#include <system_error>

#ifndef VELNORA_SOURCE_RESOURCES
#error "VELNORA_SOURCE_RESOURCES must name the source tree's resources folder"
#endif

namespace velnora {

namespace {

std::string withoutTrailingSlash(std::string path) {
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    return path;
}

std::filesystem::path executableDir() {
    std::error_code ec;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::filesystem::path() : exe.parent_path();
}

} // namespace

std::string chooseDataFolder(const char* envValue, const std::filesystem::path& exeDir,
                             const std::string& sourceResources) {
    if (envValue && *envValue) return withoutTrailingSlash(envValue);
    if (!exeDir.empty()) {
        std::error_code ec;
        const std::filesystem::path installed = exeDir / ".." / "share" / "velnora";
        if (std::filesystem::is_directory(installed, ec))
            return withoutTrailingSlash(std::filesystem::weakly_canonical(installed, ec).string());
    }
    return withoutTrailingSlash(sourceResources);
}

std::string readOnlyDataFolder() {
    return chooseDataFolder(std::getenv("VELNORA_DATA_DIR"), executableDir(),
                            VELNORA_SOURCE_RESOURCES);
}

} // namespace velnora
