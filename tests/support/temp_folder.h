#pragma once
// One fresh folder under the system's temporary folder per test, removed with all it holds
// when the test ends. The port tests (posix and win32) make their real files here.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <system_error>

namespace qm::test {

class TempFolder {
public:
    explicit TempFolder(const std::string& tag = "qm") {
        namespace fs = std::filesystem;
        static std::atomic<unsigned> serial{0};
        const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
        for (int attempt = 0; attempt < 100 && path_.empty(); ++attempt) {
            fs::path candidate = fs::temp_directory_path() /
                                 (tag + "_" + std::to_string(stamp % 1000000007) + "_" + std::to_string(serial++));
            std::error_code error;
            if (fs::create_directory(candidate, error)) path_ = candidate.string();
        }
        EXPECT_FALSE(path_.empty()) << "no temporary folder could be made";
    }
    ~TempFolder() {
        namespace fs = std::filesystem;
        std::error_code error;
        // A test may have taken its own rights away; give them back so everything goes.
        const auto open = [&](const fs::path& p) { fs::permissions(p, fs::perms::owner_all, fs::perm_options::add, error); };
        open(path_);
        for (auto it = fs::recursive_directory_iterator(path_, error); !error && it != fs::end(it); it.increment(error))
            if (it->is_directory(error) && !it->is_symlink(error)) open(it->path());
        fs::remove_all(path_, error);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& path() const { return path_; }
    // The path of a file (or folder) in it, with the system's separator.
    std::string file(const std::string& name) const { return (std::filesystem::path(path_) / name).string(); }

    void put(const std::string& name, const std::string& bytes) const {
        std::ofstream(file(name), std::ios::binary) << bytes;
    }
    std::string content(const std::string& name) const {
        std::ifstream in(file(name), std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    // The names directly in the folder, hidden ones included.
    std::set<std::string> entries() const {
        std::set<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(path_)) names.insert(entry.path().filename().string());
        return names;
    }

private:
    std::string path_;
};

}  // namespace qm::test
