#pragma once
// What the fuzz targets share: a check that stops the run with a finding, and the way a
// target turns raw bytes into the plain names and values a caller would hand a writer.
#include <cstdio>
#include <cstdlib>
#include <string>

#include <fuzzer/FuzzedDataProvider.h>

namespace qm::fuzz {

// A broken invariant is a finding: libFuzzer keeps the input that caused it.
inline void require(bool holds, const char* what) {
    if (holds) return;
    std::fprintf(stderr, "invariant broken: %s\n", what);
    std::abort();
}

// The bytes as text, keeping only those `keep` accepts.
template <typename Keep>
std::string filtered(const std::string& bytes, Keep keep) {
    std::string out;
    for (char c : bytes) {
        if (keep(static_cast<unsigned char>(c))) out += c;
    }
    return out;
}

inline bool isPrintableAscii(unsigned char c) { return c >= 0x20 && c < 0x7f; }

}  // namespace qm::fuzz
