#include "platform/posix/late_library.h"

#include <dlfcn.h>
#include <openssl/opensslv.h>

#include <optional>

namespace qm::late {

namespace {

// Resolves one function into `slot`; false when it is missing.
template <class F>
bool resolve(void* library, F& slot, const char* name) {
    slot = reinterpret_cast<F>(dlsym(library, name));
    return slot != nullptr;
}

// Our own handle on the library, kept for the life of the process.
void* open(const char* soname) { return dlopen(soname, RTLD_NOW | RTLD_LOCAL); }

std::optional<Curl> loadCurl() {
    void* lib = open("libcurl.so.4");
    Curl f{};
    const bool all = lib && resolve(lib, f.global_init, "curl_global_init") &&
                     resolve(lib, f.easy_init, "curl_easy_init") && resolve(lib, f.easy_setopt, "curl_easy_setopt") &&
                     resolve(lib, f.easy_perform, "curl_easy_perform") &&
                     resolve(lib, f.easy_getinfo, "curl_easy_getinfo") &&
                     resolve(lib, f.easy_cleanup, "curl_easy_cleanup");
    if (!all) return std::nullopt;
    return f;
}

bool resolveKeys(void* lib, Crypto& f) {
    return resolve(lib, f.d2iPubkey, "d2i_PUBKEY") && resolve(lib, f.pkeyFree, "EVP_PKEY_free") &&
           resolve(lib, f.sigNew, "ECDSA_SIG_new") && resolve(lib, f.sigFree, "ECDSA_SIG_free") &&
           resolve(lib, f.sigSet0, "ECDSA_SIG_set0") && resolve(lib, f.i2dSig, "i2d_ECDSA_SIG") &&
           resolve(lib, f.bnBin2bn, "BN_bin2bn") && resolve(lib, f.bnFree, "BN_free") &&
           resolve(lib, f.cryptoFree, "CRYPTO_free");
}

bool resolveDigests(void* lib, Crypto& f) {
    return resolve(lib, f.mdCtxNew, "EVP_MD_CTX_new") && resolve(lib, f.mdCtxFree, "EVP_MD_CTX_free") &&
           resolve(lib, f.sha256, "EVP_sha256") &&
           resolve(lib, f.digestVerifyInit, "EVP_DigestVerifyInit") &&
           resolve(lib, f.digestVerify, "EVP_DigestVerify");
}

// The soname of the OpenSSL whose header typed the functions.
static_assert(OPENSSL_VERSION_MAJOR == 3, "libcrypto.so.3 is the library of these headers");

std::optional<Crypto> loadCrypto() {
    void* lib = open("libcrypto.so.3");
    Crypto f{};
    if (!lib || !resolveKeys(lib, f) || !resolveDigests(lib, f)) return std::nullopt;
    return f;
}

}  // namespace

const Curl* curl() {
    static const std::optional<Curl> functions = loadCurl();
    return functions ? &*functions : nullptr;
}

const Crypto* crypto() {
    static const std::optional<Crypto> functions = loadCrypto();
    return functions ? &*functions : nullptr;
}

}  // namespace qm::late
