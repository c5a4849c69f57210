#include "platform/posix/posix_program_folder.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace qm {
namespace {

std::string runningExecutable() {
    std::error_code error;
    const auto path = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::string() : path.string();
}

std::string homeFolder() {
    const char* home = std::getenv("HOME");
    if (home && *home) return home;
    const passwd* user = getpwuid(getuid());
    return user && user->pw_dir ? user->pw_dir : "/tmp";
}

std::string chooseFolder(const std::string& exePath, const std::string& configHome) {
    const std::string beside = std::filesystem::path(exePath).parent_path().string();
    std::error_code error;
    if (!beside.empty() && !managedByPackages(beside) && std::filesystem::is_directory(beside, error) &&
        access(beside.c_str(), W_OK) == 0)
        return beside;
    const std::string own = configHome + "/quillmere";
    std::filesystem::create_directories(own, error);  // a failure shows at the first write
    return own;
}

}  // namespace

// Root may write /usr/bin too, but what lies there belongs to the package manager.
bool managedByPackages(const std::string& folder) {
    const std::string path = folder + "/";
    return path.rfind("/usr/", 0) == 0 && path.rfind("/usr/local/", 0) != 0;
}

std::string xdgConfigHome() {
    const char* config = std::getenv("XDG_CONFIG_HOME");
    if (config && config[0] == '/') return config;
    return homeFolder() + "/.config";
}

PosixProgramFolder::PosixProgramFolder() : PosixProgramFolder(runningExecutable(), xdgConfigHome()) {}

PosixProgramFolder::PosixProgramFolder(std::string exePath, std::string configHome)
    : exePath_(std::move(exePath)), folder_(chooseFolder(exePath_, configHome)) {}

bool PosixProgramFolder::keepsFiles() { return access(folder_.c_str(), W_OK) == 0; }

std::string PosixProgramFolder::exeName() {
    const std::string name = std::filesystem::path(exePath_).filename().string();
    const size_t dot = name.rfind('.');
    return dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
}

}  // namespace qm
