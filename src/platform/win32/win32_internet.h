#pragma once
// Transfers through WinINet, synchronously: a fetch returns when it is done, so nothing
// is ever still executing and there is nothing to cancel.
#include "platform/internet.h"

namespace qm {

class Win32Internet : public InternetPort {
public:
    std::string openUrl(const std::string& url) override;
    std::string headers(const std::string& url) override;
    bool stillExecuting() override { return false; }
    void cancel() override {}
    bool probe(const std::string& url) override;
};

}  // namespace qm
