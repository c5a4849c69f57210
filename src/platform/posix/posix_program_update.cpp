#include "platform/posix/posix_program_update.h"

#include <unistd.h>

#include <memory>

#include "base/app_error.h"
#include "base/text.h"
#include "platform/posix/late_library.h"
#include "platform/posix/posix_atomic_file.h"
#include "platform/posix/posix_program_folder.h"

namespace qm {

namespace {

constexpr size_t kLargestProgram = 64u << 20;
constexpr unsigned kProgramMode = 0755;

// SubjectPublicKeyInfo of a P-256 key up to the uncompressed point's 0x04.
const std::string kP256KeyPrefix(
    "\x30\x59\x30\x13\x06\x07\x2a\x86\x48\xce\x3d\x02\x01\x06\x08\x2a\x86\x48\xce\x3d\x03\x01\x07\x03\x42\x00\x04",
    27);


std::unique_ptr<EVP_PKEY, decltype(&EVP_PKEY_free)> publicKey(const late::Crypto& f, const std::string& point) {
    const std::string der = kP256KeyPrefix + point;
    const auto* in = reinterpret_cast<const unsigned char*>(der.data());
    return {point.size() == 64 ? f.d2iPubkey(nullptr, &in, static_cast<long>(der.size())) : nullptr, f.pkeyFree};
}

// r and s as the DER form OpenSSL verifies.
std::string derSignature(const late::Crypto& f, const std::string& signature) {
    std::unique_ptr<ECDSA_SIG, decltype(&ECDSA_SIG_free)> sig(f.sigNew(), f.sigFree);
    const auto* bytes = reinterpret_cast<const unsigned char*>(signature.data());
    BIGNUM* r = f.bnBin2bn(bytes, 32, nullptr);
    BIGNUM* s = f.bnBin2bn(bytes + 32, 32, nullptr);
    if (!sig || !r || !s || f.sigSet0(sig.get(), r, s) != 1) {
        f.bnFree(r), f.bnFree(s);
        return {};
    }
    unsigned char* out = nullptr;
    const int length = f.i2dSig(sig.get(), &out);
    std::string der = length > 0 ? std::string(reinterpret_cast<char*>(out), static_cast<size_t>(length)) : "";
    f.cryptoFree(out, OPENSSL_FILE, OPENSSL_LINE);
    return der;
}

bool verify(const late::Crypto& f, EVP_PKEY* key, const std::string& der, const std::string& data) {
    std::unique_ptr<EVP_MD_CTX, decltype(&EVP_MD_CTX_free)> ctx(f.mdCtxNew(), f.mdCtxFree);
    if (der.empty() || !ctx || f.digestVerifyInit(ctx.get(), nullptr, f.sha256(), nullptr, key) != 1) {
        return false;
    }
    return f.digestVerify(ctx.get(), reinterpret_cast<const unsigned char*>(der.data()), der.size(),
                              reinterpret_cast<const unsigned char*>(data.data()), data.size()) == 1;
}

}  // namespace

// Without libcrypto no signature can be checked, so none is valid.
bool ecdsaP256Valid(const std::string& point, const std::string& data, const std::string& signature) {
    const late::Crypto* f = late::crypto();
    if (!f) return false;
    auto key = publicKey(*f, point);
    if (!key || signature.size() != 64) return false;
    return verify(*f, key.get(), derSignature(*f, signature), data);
}

PosixProgramUpdate::PosixProgramUpdate(const std::string& runningExe, std::string trustedKey)
    : running_(runningExe), program_(folderOf(runningExe) + "/quillmere"), trustedKey_(std::move(trustedKey)) {}

bool PosixProgramUpdate::runsProgramFile() { return running_ == program_; }

ProgramKind PosixProgramUpdate::ownKind() {
#if defined(__x86_64__)
    return ProgramKind::ElfX8664;
#else
    return ProgramKind::Unknown;
#endif
}

bool PosixProgramUpdate::canReplaceProgram() {
    const std::string folder = folderOf(program_);
    return !managedByPackages(folder) && ::access(folder.c_str(), W_OK) == 0;
}

void PosixProgramUpdate::saveProgram(const std::string& path, const std::string& bytes) {
    if (replaceFile(path, bytes, kProgramMode) != 0) raiseError(errPathFileAccess);
}

// A running program's file may be renamed over on Linux, so nothing is ever in use; the
// copy is checked against the source once it is in place.
ReplaceResult PosixProgramUpdate::replaceProgram(const std::string& source, const std::string& target) {
    const SmallFile copy = readSmallFile(source, kLargestProgram);
    if (copy.state != ReadState::Read || copy.bytes.empty()) return ReplaceResult::Failed;
    if (replaceFile(target, copy.bytes, kProgramMode) != 0) return ReplaceResult::Failed;
    const SmallFile placed = readSmallFile(target, kLargestProgram);
    return placed.state == ReadState::Read && placed.bytes == copy.bytes ? ReplaceResult::Replaced : ReplaceResult::Failed;
}

bool PosixProgramUpdate::signatureValid(const std::string& data, const std::string& signature) {
    return ecdsaP256Valid(trustedKey_, data, signature);
}

}  // namespace qm
