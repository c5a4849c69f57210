#include "fake_platform.h"

#include <algorithm>

#include "base/app_error.h"
#include "platform/profile_text.h"

namespace qm::test {

MemoryStatus FakeMemory::status() {
    ++statusCalls;
    if (!upcoming.empty()) {
        current = upcoming.front();
        upcoming.pop_front();
    }
    return current;
}

TouchResult FakeMemory::touchBlock(uint64_t bytes) {
    touched.push_back(bytes);
    TouchResult result = TouchResult::Written;
    if (!touchResults.empty()) {
        result = touchResults.front();
        touchResults.pop_front();
    }
    if (result == TouchResult::Written) {
        current.availPhys = std::min(current.totalPhys, current.availPhys + freedPerTouch);
        current.freePhys = std::min(current.availPhys, current.freePhys + freedPerTouch);
    }
    return result;
}

namespace {

class FakeHeldBlock : public HeldBlock {
public:
    FakeHeldBlock(FakeMemory& memory, uint64_t bytes) : memory_(memory), bytes_(bytes) { ++memory_.heldNow; }
    ~FakeHeldBlock() override {
        --memory_.heldNow;
        memory_.events.push_back("free " + std::to_string(bytes_));
    }

private:
    FakeMemory& memory_;
    uint64_t bytes_;
};

}  // namespace

// A held block frees memory as a touched one does.
std::unique_ptr<HeldBlock> FakeMemory::holdBlock(uint64_t bytes) {
    touched.push_back(bytes);
    const bool refused = !holdRefusals.empty() && holdRefusals.front();
    if (!holdRefusals.empty()) holdRefusals.pop_front();
    events.push_back((refused ? "refused " : "hold ") + std::to_string(bytes));
    if (refused) return nullptr;
    current.availPhys = std::min(current.totalPhys, current.availPhys + freedPerTouch);
    return std::make_unique<FakeHeldBlock>(*this, bytes);
}

std::optional<CpuCounters> FakeCpu::readCounters() {
    if (!readings.empty()) {
        last = readings.front();
        readings.pop_front();
    }
    return last;
}

std::string FakeProfile::getString(const std::string& section, const std::string& key,
                                   const std::string& defaultValue, size_t bufferSize, const std::string& path) {
    const auto it = files_.files.find(path);
    const std::string text = it == files_.files.end() ? std::string() : it->second;
    return profileGetString(text, section, key, defaultValue, bufferSize);
}

bool FakeProfile::writeString(const std::string& section, const std::string& key, const std::string& value,
                              const std::string& path) {
    ++writes;
    if (files_.unwritable.count(path)) return false;
    files_.files[path] = profileWriteString(files_.files[path], section, key, value);
    return true;
}

std::string FakeRegistry::keyName(uint32_t root, const std::string& path) {
    std::string name = std::to_string(root) + "\\";
    for (char c : path) name += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return name;
}

std::string FakeRegistry::stringValue(uint32_t root, const std::string& path, const std::string& name) const {
    const auto key = keys.find(keyName(root, path));
    if (key == keys.end()) return {};
    const auto value = key->second.find(name);
    if (value == key->second.end()) return {};
    const std::string& data = value->second.data;
    return data.substr(0, data.find('\0'));
}

bool FakeRegistry::hasValue(uint32_t root, const std::string& path, const std::string& name) const {
    const auto key = keys.find(keyName(root, path));
    return key != keys.end() && key->second.count(name) > 0;
}

void FakeRegistry::setString(uint32_t root, const std::string& path, const std::string& name, const std::string& text) {
    keys[keyName(root, path)][name] = RegValue{REG_SZ_, text + '\0'};
}

void FakeRegistry::setRaw(uint32_t root, const std::string& path, const std::string& name, const RegValue& value) {
    keys[keyName(root, path)][name] = value;
}

long FakeRegistry::openKey(uint32_t root, const std::string& path, uint32_t access, RegHandle& key) {
    const std::string name = keyName(root, path);
    if (!keys.count(name)) return ERROR_FILE_NOT_FOUND_;
    if ((access & KEY_SET_VALUE_) && readOnlyKeys.count(name)) return ERROR_ACCESS_DENIED_;
    key = next_++;
    handles_[key] = {name, access};
    return ERROR_SUCCESS_;
}

long FakeRegistry::createKey(uint32_t root, const std::string& path, uint32_t access, RegHandle& key) {
    const std::string name = keyName(root, path);
    if (readOnlyKeys.count(name)) return ERROR_ACCESS_DENIED_;
    keys[name];
    key = next_++;
    handles_[key] = {name, access};
    return ERROR_SUCCESS_;
}

long FakeRegistry::queryValue(RegHandle key, const std::string& name, RegValue& value, uint32_t maxBytes) {
    const auto handle = handles_.find(key);
    if (handle == handles_.end()) return 6;  // ERROR_INVALID_HANDLE
    queried.push_back(handle->second.first + "|" + name);
    const auto& values = keys[handle->second.first];
    const auto found = values.find(name);
    if (found == values.end()) return ERROR_FILE_NOT_FOUND_;
    value.type = found->second.type;
    value.data = found->second.data.substr(0, maxBytes);
    return found->second.data.size() > maxBytes ? 234 : ERROR_SUCCESS_;  // ERROR_MORE_DATA
}

long FakeRegistry::setValue(RegHandle key, const std::string& name, const RegValue& value) {
    const auto handle = handles_.find(key);
    if (handle == handles_.end()) return 6;
    if (!(handle->second.second & KEY_SET_VALUE_)) return ERROR_ACCESS_DENIED_;
    keys[handle->second.first][name] = value;
    return ERROR_SUCCESS_;
}

long FakeRegistry::deleteValue(RegHandle key, const std::string& name) {
    const auto handle = handles_.find(key);
    if (handle == handles_.end()) return 6;
    return keys[handle->second.first].erase(name) ? ERROR_SUCCESS_ : ERROR_FILE_NOT_FOUND_;
}

long FakeRegistry::closeKey(RegHandle key) {
    handles_.erase(key);
    return ERROR_SUCCESS_;
}

int FakeShell::shellExecute(bool owned, const std::string& operation, const std::string& file,
                            const std::string& parameters, const std::string& folder, int show) {
    executed.push_back({owned, operation, file, parameters, folder, show});
    return 42;
}

void FakeShell::startProgram(const std::string& commandLine) {
    if (onStart) onStart(commandLine);
    if (failStart) raiseError(errFileNotFound);
    started.push_back(commandLine);
}

std::optional<std::string> FakeShell::applicationName(const std::string& path) {
    const auto it = applicationNames.find(path);
    if (it == applicationNames.end()) return std::nullopt;
    return it->second;
}

bool FakeShell::copyFileSilently(const std::string& source, const std::string& target) {
    copies.emplace_back(source, target);
    return true;
}

bool FakeFiles::fileExists(const std::string& path) { return files.count(path) > 0; }

std::string FakeFiles::readAll(const std::string& path, uint64_t maxBytes) {
    ++reads;
    if (unreadable.count(path)) raiseError(errPathFileAccess);
    const auto it = files.find(path);
    if (it == files.end()) raiseError(errFileNotFound);
    if (it->second.size() > maxBytes) raiseError(errOutOfMemory);
    return it->second;
}

void FakeFiles::writeAll(const std::string& path, const std::string& bytes) {
    ++writes;
    if (unwritable.count(path)) raiseError(errPathFileAccess);
    files[path] = bytes;
}

void FakeFiles::append(const std::string& path, const std::string& bytes) {
    ++writes;
    if (unwritable.count(path)) raiseError(errPathFileAccess);
    files[path] += bytes;
}

void FakeFiles::remove(const std::string& path) {
    if (removeRefusals > 0 && files.count(path)) {
        --removeRefusals;
        raiseError(errPathFileAccess);
    }
    if (!files.erase(path)) raiseError(errFileNotFound);
}

uint64_t FakeFiles::fileLength(const std::string& path) {
    const auto it = files.find(path);
    if (it == files.end()) raiseError(errFileNotFound);
    return it->second.size();
}

std::string FakeInternet::openUrl(const std::string& url) {
    requested.push_back(url);
    const auto it = bodies.find(url);
    return it == bodies.end() ? std::string() : it->second;
}

std::string FakeInternet::headers(const std::string& url) {
    requested.push_back(url);
    const auto it = headerTexts.find(url);
    return it == headerTexts.end() ? std::string() : it->second;
}

bool FakeInternet::stillExecuting() {
    if (busyPolls <= 0) return false;
    --busyPolls;
    return true;
}

bool FakeInternet::probe(const std::string& url) {
    requested.push_back(url);
    return online;
}

bool FakeInstance::activatePreviousInstance() {
    ++activations;
    return found;
}

bool FakeInstance::previousInstanceEnded(int32_t ms) {
    waits.push_back(ms);
    if (endsWhileWaited) running = false;
    return !running;
}

void FakeProgramUpdate::saveProgram(const std::string& path, const std::string& bytes) {
    saved.push_back(path);
    files_.writeAll(path, bytes);
}

ReplaceResult FakeProgramUpdate::replaceProgram(const std::string& source, const std::string& target) {
    ++replaceCalls;
    if (!replaceResults.empty()) {
        const ReplaceResult scripted = replaceResults.front();
        replaceResults.pop_front();
        if (scripted != ReplaceResult::Replaced) return scripted;
    }
    if (!files_.files.count(source)) return ReplaceResult::Failed;
    files_.files[target] = files_.files[source];
    return ReplaceResult::Replaced;
}

Platform FakePlatform::platform(ClockPort& clock) {
    return Platform{memory, cpu, profile, registry, shell, files, internet, clock, folder, instance, update, locale};
}

Platform FakePlatform::platform(HeadlessHost& host) {
    hostClocks.push_back(std::make_unique<HostClock>(host));
    return platform(*hostClocks.back());
}

bool RecordingSink::has(const std::string& context, int number) const {
    return std::any_of(entries.begin(), entries.end(), [&](const LoggedError& e) {
        return e.context == context && (number < 0 || e.number == number);
    });
}

}  // namespace qm::test
