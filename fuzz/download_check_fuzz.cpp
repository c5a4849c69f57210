// The checks of a downloaded program: the kind read from any bytes, the length rule, and
// the signature envelope. A DER signature the parser accepts is the one r and s written
// back as DER give, any r and s written as DER read back, and a signature OpenSSL reads as
// strict DER reads as the same r and s.
#include <openssl/bn.h>
#include <openssl/ecdsa.h>

#include <string>

#include "fuzz_check.h"
#include "update/download_checks.h"

namespace {

// r or s as the shortest DER INTEGER: no leading zero bytes, one zero before a high bit.
std::string derInteger(const std::string& value) {
    const size_t first = value.find_first_not_of('\0');
    std::string digits = first == std::string::npos ? std::string(1, '\0') : value.substr(first);
    if (static_cast<unsigned char>(digits[0]) & 0x80) digits.insert(0, 1, '\0');
    return std::string{'\x02', static_cast<char>(digits.size())} + digits;
}

std::string derSignature(const std::string& r, const std::string& s) {
    const std::string body = derInteger(r) + derInteger(s);
    return std::string{'\x30', static_cast<char>(body.size())} + body;
}

void checkEnvelope(const std::string& der, const std::string& pair) {
    if (const std::optional<std::string> rs = qm::signatureFromDer(der)) {
        qm::fuzz::require(rs->size() == 64, "r and s are 32 bytes each");
        const std::optional<std::string> again = qm::signatureFromDer(derSignature(rs->substr(0, 32), rs->substr(32)));
        qm::fuzz::require(again && *again == *rs, "an accepted signature means what its r and s say");
    }
    const std::string r = pair.substr(0, 32), s = pair.substr(32);
    const std::optional<std::string> read = qm::signatureFromDer(derSignature(r, s));
    qm::fuzz::require(read && *read == r + s, "any r and s read back from DER");
}

// r and s as OpenSSL reads them, when the bytes are strict DER with both below 2^256.
std::optional<std::string> opensslPair(const std::string& der) {
    auto* at = reinterpret_cast<const unsigned char*>(der.data());
    ECDSA_SIG* sig = d2i_ECDSA_SIG(nullptr, &at, static_cast<long>(der.size()));
    if (!sig) return std::nullopt;
    std::optional<std::string> pair;
    unsigned char* again = nullptr;
    const int length = i2d_ECDSA_SIG(sig, &again);
    const BIGNUM *r = ECDSA_SIG_get0_r(sig), *s = ECDSA_SIG_get0_s(sig);
    if (length == static_cast<int>(der.size()) && der.compare(0, der.size(), reinterpret_cast<char*>(again), length) == 0 &&
        BN_num_bytes(r) <= 32 && BN_num_bytes(s) <= 32) {
        std::string bytes(64, '\0');
        BN_bn2binpad(r, reinterpret_cast<unsigned char*>(bytes.data()), 32);
        BN_bn2binpad(s, reinterpret_cast<unsigned char*>(bytes.data()) + 32, 32);
        pair = bytes;
    }
    OPENSSL_free(again);
    ECDSA_SIG_free(sig);
    return pair;
}

void checkAgainstOpenssl(const std::string& der) {
    const std::optional<std::string> theirs = opensslPair(der);
    if (theirs) qm::fuzz::require(qm::signatureFromDer(der) == theirs, "strict DER reads as OpenSSL reads it");
}

void checkProgram(const std::string& bytes) {
    const qm::ProgramKind kind = qm::programKindOf(bytes);
    if (kind != qm::ProgramKind::Unknown) qm::fuzz::require(bytes.size() >= 20, "a program has a header");
    qm::fuzz::require(!qm::lengthAccepted(bytes, static_cast<int32_t>(bytes.size()) + 1), "a short download is refused");
    qm::fuzz::require(qm::lengthAccepted(bytes, static_cast<int32_t>(bytes.size())) == (bytes.size() > 1000),
                      "an exact download over 1000 bytes is taken");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    std::string pair = in.ConsumeBytesAsString(64);
    pair.resize(64, '\x01');
    const std::string bytes = in.ConsumeRemainingBytesAsString();
    checkEnvelope(bytes, pair);
    checkAgainstOpenssl(bytes);
    checkProgram(bytes);
    return 0;
}
