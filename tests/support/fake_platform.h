#pragma once
// One fake per port, shared by every core test. Add to these; never copy them.
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "base/trap.h"
#include "platform/platform.h"
#include "support/host_clock.h"

namespace qm::test {

constexpr uint64_t MB = 1024ull * 1024ull;

class FakeMemory : public MemoryPort {
public:
    MemoryStatus current{256 * MB, 128 * MB, 512 * MB, 384 * MB};
    std::deque<MemoryStatus> upcoming;          // returned first, one per call, before `current`
    std::vector<uint64_t> touched;              // every block asked for
    std::deque<TouchResult> touchResults;       // scripted results (default Written)
    uint64_t freedPerTouch = 0;                 // bytes that become available after a written block
    int statusCalls = 0;
    // Held blocks: "hold N" when one is had, "refused N", "free N" when its handle goes.
    std::vector<std::string> events;
    std::deque<bool> holdRefusals;              // scripted: true refuses that hold
    int heldNow = 0;
    int jobsBegun = 0;                          // beginBlock calls, whose wait runs the touch or hold

    MemoryStatus status() override;
    TouchResult touchBlock(uint64_t bytes) override;
    std::unique_ptr<HeldBlock> holdBlock(uint64_t bytes) override;
    std::unique_ptr<BlockJob> beginBlock(uint64_t bytes, bool hold) override {
        ++jobsBegun;
        return MemoryPort::beginBlock(bytes, hold);
    }
};

class FakeCpu : public CpuPort {
public:
    int platform = 2;
    std::deque<std::optional<CpuCounters>> readings;  // one per call; empty -> last value again
    std::optional<CpuCounters> last = CpuCounters{1, 0, 0};
    int platformId() override { return platform; }
    std::optional<CpuCounters> readCounters() override;
};

// Keeps files in memory, with the real profile text rules.
class FakeFiles;
class FakeProfile : public ProfilePort {
public:
    explicit FakeProfile(FakeFiles& files) : files_(files) {}
    std::string getString(const std::string& section, const std::string& key, const std::string& defaultValue,
                          size_t bufferSize, const std::string& path) override;
    bool writeString(const std::string& section, const std::string& key, const std::string& value,
                     const std::string& path) override;
    int writes = 0;

private:
    FakeFiles& files_;
};

class FakeRegistry : public RegistryPort {
public:
    // values[root\path][name]
    std::map<std::string, std::map<std::string, RegValue>> keys;
    std::set<std::string> readOnlyKeys;  // opening these for writing is refused (access denied)
    std::string stringValue(uint32_t root, const std::string& path, const std::string& name) const;
    bool hasValue(uint32_t root, const std::string& path, const std::string& name) const;
    void setString(uint32_t root, const std::string& path, const std::string& name, const std::string& text);
    void setRaw(uint32_t root, const std::string& path, const std::string& name, const RegValue& value);
    std::vector<std::string> queried;  // "<root>\<path in lower case>|<value name>" of every query

    long openKey(uint32_t root, const std::string& path, uint32_t access, RegHandle& key) override;
    long createKey(uint32_t root, const std::string& path, uint32_t access, RegHandle& key) override;
    long queryValue(RegHandle key, const std::string& name, RegValue& value, uint32_t maxBytes) override;
    long setValue(RegHandle key, const std::string& name, const RegValue& value) override;
    long deleteValue(RegHandle key, const std::string& name) override;
    long closeKey(RegHandle key) override;
    int openHandles() const { return static_cast<int>(handles_.size()); }

private:
    static std::string keyName(uint32_t root, const std::string& path);
    std::map<RegHandle, std::pair<std::string, uint32_t>> handles_;  // name, access
    RegHandle next_ = 100;
};

struct ShellCall {
    bool owned;
    std::string operation, file, parameters, folder;
    int show;
};

class FakeShell : public ShellPort {
public:
    std::vector<ShellCall> executed;
    std::vector<std::string> started;
    std::vector<std::pair<std::string, std::string>> copies;
    bool failStart = false;
    std::map<std::string, std::string> applicationNames;  // entry path -> its Name
    std::function<void(const std::string&)> onStart;      // runs as a program starts
    int shellExecute(bool owned, const std::string& operation, const std::string& file, const std::string& parameters,
                     const std::string& folder, int show) override;
    void startProgram(const std::string& commandLine) override;
    std::optional<std::string> applicationName(const std::string& path) override;
    bool copyFileSilently(const std::string& source, const std::string& target) override;
};

class FakeFiles : public FilesPort {
public:
    std::map<std::string, std::string> files;
    std::set<std::string> unreadable;   // reading raises 75
    std::set<std::string> unwritable;   // writing raises 75
    int removeRefusals = 0;             // this many removals raise 75 (a file still in use)
    int reads = 0, writes = 0;
    bool fileExists(const std::string& path) override;
    std::string readAll(const std::string& path, uint64_t maxBytes) override;
    void writeAll(const std::string& path, const std::string& bytes) override;
    void append(const std::string& path, const std::string& bytes) override;
    void remove(const std::string& path) override;
    uint64_t fileLength(const std::string& path) override;
};

class FakeInternet : public InternetPort {
public:
    std::map<std::string, std::string> bodies, headerTexts;
    bool online = true;
    int busyPolls = 0;       // stillExecuting answers true this many times
    int cancels = 0;
    std::vector<std::string> requested;
    std::string openUrl(const std::string& url) override;
    std::string headers(const std::string& url) override;
    bool stillExecuting() override;
    void cancel() override { ++cancels; }
    bool probe(const std::string& url) override;
};

class FakeProgramFolder : public ProgramFolderPort {
public:
    std::string path = "C:\\Apps\\Quillmere";
    std::string name = "Quillmere";
    std::string folder() override { return path; }
    char separator() override { return '\\'; }
    std::string exeName() override { return name; }
    std::string exePath() override { return path + "\\" + name + ".exe"; }
    bool writable = true;
    bool keepsFiles() override { return writable; }
};

class FakeInstance : public InstancePort {
public:
    bool running = false, found = false;
    bool endsWhileWaited = false;  // the running one ends within any wait
    int activations = 0;
    std::vector<int32_t> waits;
    bool previousInstanceRunning() override { return running; }
    bool activatePreviousInstance() override;
    bool previousInstanceEnded(int32_t ms) override;
};

// Replaces files inside FakeFiles; results can be scripted, one per call.
class FakeProgramUpdate : public ProgramUpdatePort {
public:
    explicit FakeProgramUpdate(FakeFiles& files) : files_(files) {}
    ProgramKind kind = ProgramKind::PeI386;
    std::string program = "C:\\Apps\\Quillmere\\Quillmere.exe";
    bool fromProgramFile = false;  // the upgrade starts run the download unless told
    bool replaceable = true;
    std::deque<ReplaceResult> replaceResults;  // answered first; then the copy is made
    std::string acceptedSignature = "good signature";
    int replaceCalls = 0;
    std::vector<std::string> saved;

    ProgramKind ownKind() override { return kind; }
    std::string programPath() override { return program; }
    bool runsProgramFile() override { return fromProgramFile; }
    bool canReplaceProgram() override { return replaceable; }
    void saveProgram(const std::string& path, const std::string& bytes) override;
    ReplaceResult replaceProgram(const std::string& source, const std::string& target) override;
    bool signatureValid(const std::string& data, const std::string& signature) override {
        return !data.empty() && signature == acceptedSignature;
    }

private:
    FakeFiles& files_;
};

class FakeLocale : public LocalePort {
public:
    char separator = '.';
    int reads = 0;
    char decimalSeparator() override { return ++reads, separator; }
};

// Every fake, and the Platform that refers to them.
struct FakePlatform {
    FakeMemory memory;
    FakeCpu cpu;
    FakeFiles files;
    FakeProfile profile{files};
    FakeRegistry registry;
    FakeShell shell;
    FakeInternet internet;
    FakeProgramFolder folder;
    FakeInstance instance;
    FakeProgramUpdate update{files};
    FakeLocale locale;
    Platform platform(ClockPort& clock);
    // With the headless host's virtual clock as the clock port.
    Platform platform(HeadlessHost& host);
    std::vector<std::unique_ptr<HostClock>> hostClocks;  // one per host asked for
};

struct LoggedError {
    std::string context;
    int number;
    std::string description;
};

// Records what the error trap reports.
class RecordingSink : public ErrorSink {
public:
    std::vector<LoggedError> entries;
    void logError(const std::string& context, int number, const std::string& description) override {
        entries.push_back({context, number, description});
    }
    bool has(const std::string& context, int number = -1) const;
};

}  // namespace qm::test
