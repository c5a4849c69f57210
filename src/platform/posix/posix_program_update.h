#pragma once
// Upgrades on Linux: the program replaces its own executable by a rename in its folder,
// and a download's signature is checked with OpenSSL.
#include <string>

#include "platform/program_update.h"

namespace qm {

// True when `signature` (r and s, 32 bytes each) is an ECDSA P-256 / SHA-256 signature of
// `data` by the public key `point` (X and Y, 32 bytes each).
bool ecdsaP256Valid(const std::string& point, const std::string& data, const std::string& signature);

class PosixProgramUpdate : public ProgramUpdatePort {
public:
    // The program file is "quillmere" beside `runningExe` (which is "qmx" while an upgrade
    // completes); `trustedKey` is the release key (tests give their own).
    PosixProgramUpdate(const std::string& runningExe, std::string trustedKey);

    ProgramKind ownKind() override;
    std::string programPath() override { return program_; }
    bool runsProgramFile() override;
    bool canReplaceProgram() override;
    void saveProgram(const std::string& path, const std::string& bytes) override;
    ReplaceResult replaceProgram(const std::string& source, const std::string& target) override;
    bool signatureValid(const std::string& data, const std::string& signature) override;

private:
    std::string running_;
    std::string program_;
    std::string trustedKey_;
};

}  // namespace qm
