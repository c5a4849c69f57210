#pragma once
// Libraries opened the first time they are needed. The network and signature stacks serve
// the rare update check; linked at start, libcurl and libcrypto bring some two dozen
// libraries of their own (TLS, Kerberos, LDAP, SSH, IDN...) into every run, with their
// relocations: several megabytes of memory for a tray utility that mostly waits.
#include <curl/curl.h>
#include <openssl/bn.h>
#include <openssl/crypto.h>
#include <openssl/ecdsa.h>
#include <openssl/evp.h>
#include <openssl/x509.h>

namespace qm::late {

// The functions of libcurl the internet port calls, typed from its own header.
struct Curl {
    decltype(&curl_global_init) global_init;
    decltype(&curl_easy_init) easy_init;
    decltype(&curl_easy_setopt) easy_setopt;
    decltype(&curl_easy_perform) easy_perform;
    decltype(&curl_easy_getinfo) easy_getinfo;
    decltype(&curl_easy_cleanup) easy_cleanup;
};

// The functions of libcrypto the signature check calls.
struct Crypto {
    decltype(&d2i_PUBKEY) d2iPubkey;
    decltype(&EVP_PKEY_free) pkeyFree;
    decltype(&ECDSA_SIG_new) sigNew;
    decltype(&ECDSA_SIG_free) sigFree;
    decltype(&ECDSA_SIG_set0) sigSet0;
    decltype(&i2d_ECDSA_SIG) i2dSig;
    decltype(&BN_bin2bn) bnBin2bn;
    decltype(&BN_free) bnFree;
    decltype(&CRYPTO_free) cryptoFree;
    decltype(&EVP_MD_CTX_new) mdCtxNew;
    decltype(&EVP_MD_CTX_free) mdCtxFree;
    decltype(&EVP_sha256) sha256;
    decltype(&EVP_DigestVerifyInit) digestVerifyInit;
    decltype(&EVP_DigestVerify) digestVerify;
};

// Opened and resolved once, on first use (thread-safe); null when the library or one of
// its functions is missing, which the callers treat as no connection or no valid signature.
const Curl* curl();
const Crypto* crypto();

}  // namespace qm::late
