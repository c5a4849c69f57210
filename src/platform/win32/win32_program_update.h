#pragma once
// Upgrades on Windows: "Quillmere.exe" beside the running program is replaced by a
// checked copy moved over it in one step, and signatures are checked with CNG.
#include <string>

#include "platform/program_update.h"

namespace qm {

// True when `signature` (r and s, 32 bytes each) is an ECDSA P-256 / SHA-256 signature of
// `data` by the public key `point` (X and Y, 32 bytes each).
bool ecdsaP256Valid(const std::string& point, const std::string& data, const std::string& signature);

class Win32ProgramUpdate : public ProgramUpdatePort {
public:
    // `runningExe` is this process's file ("qmx.exe" while an upgrade completes);
    // `trustedKey` is the release key (tests give their own).
    Win32ProgramUpdate(const std::string& runningExe, std::string trustedKey);

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
