#include "platform/win32/win32_program_update.h"

#include <windows.h>
#include <bcrypt.h>

#include <fstream>
#include <iterator>
#include <optional>
#include <vector>

#include "base/app_error.h"
#include "base/text.h"
#include "platform/win32/lazy_dll.h"

namespace qm {

namespace {

constexpr DWORD kMoveFlags = MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH;

// Windows takes either slash between folders.
constexpr std::string_view kSeparators = "\\/";

std::optional<std::string> readWhole(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) return std::nullopt;
    return bytes;
}

// A new file of ours in `folder`, so that the final move stays on one volume.
std::string tempFileIn(const std::string& folder) {
    char name[MAX_PATH] = {};
    return GetTempFileNameA(folder.c_str(), "qmx", 0, name) ? std::string(name) : std::string();
}

bool writeThrough(const std::string& path, const std::string& bytes) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    bool ok = bytes.empty() || WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    ok = ok && written == bytes.size() && FlushFileBuffers(file);
    CloseHandle(file);
    return ok;
}

bool inUse(DWORD error) { return error == ERROR_ACCESS_DENIED || error == ERROR_SHARING_VIOLATION; }

// The signature check is the only user of bcrypt, loaded by it (see lazy_dll.h).
struct Bcrypt {
    template <class Fn>
    static Fn* get(const char* name) { return lazyFunction<Fn>("bcrypt.dll", name); }
    using Open = decltype(BCryptOpenAlgorithmProvider);
    using Close = decltype(BCryptCloseAlgorithmProvider);
    using Import = decltype(BCryptImportKeyPair);
    using Verify = decltype(BCryptVerifySignature);
    Open* openAlgorithm = get<Open>("BCryptOpenAlgorithmProvider");
    Close* closeAlgorithm = get<Close>("BCryptCloseAlgorithmProvider");
    decltype(BCryptCreateHash)* createHash = get<decltype(BCryptCreateHash)>("BCryptCreateHash");
    decltype(BCryptHashData)* hashData = get<decltype(BCryptHashData)>("BCryptHashData");
    decltype(BCryptFinishHash)* finishHash = get<decltype(BCryptFinishHash)>("BCryptFinishHash");
    decltype(BCryptDestroyHash)* destroyHash = get<decltype(BCryptDestroyHash)>("BCryptDestroyHash");
    Import* importKeyPair = get<Import>("BCryptImportKeyPair");
    Verify* verifySignature = get<Verify>("BCryptVerifySignature");
    decltype(BCryptDestroyKey)* destroyKey = get<decltype(BCryptDestroyKey)>("BCryptDestroyKey");
    bool loaded() const {
        return openAlgorithm && closeAlgorithm && createHash && hashData && finishHash && destroyHash &&
               importKeyPair && verifySignature && destroyKey;
    }
};

const Bcrypt& bcrypt() {
    static const Bcrypt functions;
    return functions;
}

// No handle when bcrypt is missing: every check then fails.
struct Algorithm {
    BCRYPT_ALG_HANDLE h = nullptr;
    explicit Algorithm(const wchar_t* name) {
        if (bcrypt().loaded()) bcrypt().openAlgorithm(&h, name, nullptr, 0);
    }
    ~Algorithm() {
        if (h) bcrypt().closeAlgorithm(h, 0);
    }
};

std::optional<std::vector<UCHAR>> sha256(const std::string& data) {
    Algorithm alg(BCRYPT_SHA256_ALGORITHM);
    BCRYPT_HASH_HANDLE hash = nullptr;
    if (!alg.h || bcrypt().createHash(alg.h, &hash, nullptr, 0, nullptr, 0, 0) != 0) return std::nullopt;
    std::vector<UCHAR> digest(32);
    auto* bytes = reinterpret_cast<PUCHAR>(const_cast<char*>(data.data()));
    const bool ok = bcrypt().hashData(hash, bytes, static_cast<ULONG>(data.size()), 0) == 0 &&
                    bcrypt().finishHash(hash, digest.data(), 32, 0) == 0;
    bcrypt().destroyHash(hash);
    if (!ok) return std::nullopt;
    return digest;
}

}  // namespace

bool ecdsaP256Valid(const std::string& point, const std::string& data, const std::string& signature) {
    if (point.size() != 64 || signature.size() != 64) return false;
    const std::optional<std::vector<UCHAR>> digest = sha256(data);
    Algorithm alg(BCRYPT_ECDSA_P256_ALGORITHM);
    if (!digest || !alg.h) return false;
    std::vector<UCHAR> blob(sizeof(BCRYPT_ECCKEY_BLOB));
    auto* header = reinterpret_cast<BCRYPT_ECCKEY_BLOB*>(blob.data());
    header->dwMagic = BCRYPT_ECDSA_PUBLIC_P256_MAGIC;
    header->cbKey = 32;
    blob.insert(blob.end(), point.begin(), point.end());
    BCRYPT_KEY_HANDLE key = nullptr;
    if (bcrypt().importKeyPair(alg.h, nullptr, BCRYPT_ECCPUBLIC_BLOB, &key, blob.data(), static_cast<ULONG>(blob.size()),
                            0) != 0) {
        return false;
    }
    std::string sig = signature;
    const NTSTATUS status = bcrypt().verifySignature(key, nullptr, const_cast<PUCHAR>(digest->data()), 32,
                                                  reinterpret_cast<PUCHAR>(sig.data()), 64, 0);
    bcrypt().destroyKey(key);
    return status == 0;
}

Win32ProgramUpdate::Win32ProgramUpdate(const std::string& runningExe, std::string trustedKey)
    : running_(runningExe), program_(folderOf(runningExe, kSeparators) + "\\Quillmere.exe"), trustedKey_(std::move(trustedKey)) {}

// File names on Windows ignore case.
bool Win32ProgramUpdate::runsProgramFile() { return _stricmp(running_.c_str(), program_.c_str()) == 0; }

ProgramKind Win32ProgramUpdate::ownKind() {
#if defined(_WIN64)
    return ProgramKind::PeAmd64;
#else
    return ProgramKind::PeI386;
#endif
}

bool Win32ProgramUpdate::canReplaceProgram() {
    const std::string probe = tempFileIn(folderOf(program_, kSeparators));
    if (probe.empty()) return false;
    DeleteFileA(probe.c_str());
    return true;
}

void Win32ProgramUpdate::saveProgram(const std::string& path, const std::string& bytes) {
    const std::string temp = tempFileIn(folderOf(path, kSeparators));
    const bool ok = !temp.empty() && writeThrough(temp, bytes) && MoveFileExA(temp.c_str(), path.c_str(), kMoveFlags);
    if (ok) return;
    if (!temp.empty()) DeleteFileA(temp.c_str());
    raiseError(errPathFileAccess);
}

// The copy is checked byte for byte before it moves over the program in one step; while
// the old program still runs, its file cannot be replaced and the move says so.
ReplaceResult Win32ProgramUpdate::replaceProgram(const std::string& source, const std::string& target) {
    const std::optional<std::string> bytes = readWhole(source);
    const std::string temp = tempFileIn(folderOf(target, kSeparators));
    if (!bytes || bytes->empty() || temp.empty()) return ReplaceResult::Failed;
    bool ok = writeThrough(temp, *bytes) && readWhole(temp) == bytes;
    ok = ok && MoveFileExA(temp.c_str(), target.c_str(), kMoveFlags);
    const DWORD error = ok ? 0 : GetLastError();
    if (!ok) DeleteFileA(temp.c_str());
    if (ok) return ReplaceResult::Replaced;
    return inUse(error) ? ReplaceResult::InUse : ReplaceResult::Failed;
}

bool Win32ProgramUpdate::signatureValid(const std::string& data, const std::string& signature) {
    return ecdsaP256Valid(trustedKey_, data, signature);
}

}  // namespace qm
