#include "platform/win32/win32_internet.h"

#include <windows.h>
#include <wininet.h>

#include <functional>
#include <optional>
#include <thread>
#include <vector>

#include "base/text.h"
#include "platform/win32/lazy_dll.h"

namespace qm {

namespace {

constexpr const char* kAgent = "Quillmere";
constexpr int kMostRedirects = 10;

// WinINet, loaded by the first transfer (see lazy_dll.h).
struct WinInet {
    static constexpr const char* kDll = "wininet.dll";
    decltype(InternetOpenA)* open = lazyFunction<decltype(InternetOpenA)>(kDll, "InternetOpenA");
    decltype(InternetOpenUrlA)* openUrl = lazyFunction<decltype(InternetOpenUrlA)>(kDll, "InternetOpenUrlA");
    decltype(InternetCloseHandle)* close = lazyFunction<decltype(InternetCloseHandle)>(kDll, "InternetCloseHandle");
    decltype(InternetSetOptionA)* setOption = lazyFunction<decltype(InternetSetOptionA)>(kDll, "InternetSetOptionA");
    decltype(InternetReadFile)* read = lazyFunction<decltype(InternetReadFile)>(kDll, "InternetReadFile");
    decltype(HttpQueryInfoA)* queryInfo = lazyFunction<decltype(HttpQueryInfoA)>(kDll, "HttpQueryInfoA");
    decltype(InternetCombineUrlA)* combineUrl = lazyFunction<decltype(InternetCombineUrlA)>(kDll, "InternetCombineUrlA");
    bool loaded() const { return open && openUrl && close && setOption && read && queryInfo && combineUrl; }
};

const WinInet& net() {
    static const WinInet functions;
    return functions;
}

struct NetHandle {
    HINTERNET h;
    ~NetHandle() {
        if (h) net().close(h);
    }
};

bool isHttps(const std::string& url) { return toLowerAscii(url.substr(0, 8)) == "https://"; }

// Only HTTPS goes out: "http://" is asked for as "https://", other schemes are refused.
std::optional<std::string> secureAddress(const std::string& url) {
    if (isHttps(url)) return url;
    if (toLowerAscii(url.substr(0, 7)) == "http://") return "https://" + url.substr(7);
    return std::nullopt;
}

unsigned long statusOf(HINTERNET request) {
    DWORD status = 0;
    DWORD size = sizeof status;
    net().queryInfo(request, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size, nullptr);
    return status;
}

// One header query as text; the size query tells how large a buffer it needs.
std::string queryText(HINTERNET request, DWORD what) {
    DWORD size = 0;
    net().queryInfo(request, what, nullptr, &size, nullptr);
    if (size == 0) return {};
    std::vector<char> buffer(size + 1, '\0');
    if (!net().queryInfo(request, what, buffer.data(), &size, nullptr)) return {};
    return std::string(buffer.data(), size);
}

std::string readHeaders(HINTERNET request) { return queryText(request, HTTP_QUERY_RAW_HEADERS_CRLF); }

bool isRedirect(unsigned long status) { return status == 301 || status == 302 || status == 303 || status == 307 || status == 308; }

// Where a redirect leads, resolved against the address that answered ("" when nowhere).
std::string redirectTarget(HINTERNET request, const std::string& from) {
    const std::string location = queryText(request, HTTP_QUERY_LOCATION);
    std::vector<char> combined(INTERNET_MAX_URL_LENGTH + 1, '\0');
    DWORD length = INTERNET_MAX_URL_LENGTH;
    if (location.empty() || !net().combineUrl(from.c_str(), location.c_str(), combined.data(), &length, ICU_NO_ENCODE)) {
        return {};
    }
    return std::string(combined.data(), length);
}

struct Limits {
    size_t largestBody;
    unsigned long timeoutMs;
};

constexpr DWORD kOpenFlags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_SECURE |
                             INTERNET_FLAG_NO_UI | INTERNET_FLAG_NO_COOKIES | INTERNET_FLAG_NO_AUTO_REDIRECT;

// Redirects are followed here, and only to HTTPS: WinINet under Wine follows one from
// HTTPS to plain HTTP without a word.
HINTERNET openSecure(HINTERNET session, std::string address) {
    for (int hop = 0; hop <= kMostRedirects; ++hop) {
        HINTERNET request = net().openUrl(session, address.c_str(), nullptr, 0, kOpenFlags, 0);
        if (!request || !isRedirect(statusOf(request))) return request;
        address = redirectTarget(request, address);
        net().close(request);
        if (!isHttps(address)) return nullptr;
    }
    return nullptr;
}

// The whole body, or false when it was stopped, ran out of time or grew too large.
bool readBody(HINTERNET request, const Limits& limits, const std::atomic<bool>& stop, std::string& body) {
    const ULONGLONG deadline = GetTickCount64() + limits.timeoutMs;
    char buffer[16384];
    DWORD got = 0;
    while (!stop && GetTickCount64() < deadline) {
        if (!net().read(request, buffer, sizeof buffer, &got)) return false;
        if (got == 0) return true;
        if (body.size() + got > limits.largestBody) return false;
        body.append(buffer, got);
    }
    return false;
}

void setTimeouts(HINTERNET session, unsigned long connectMs, unsigned long totalMs) {
    net().setOption(session, INTERNET_OPTION_CONNECT_TIMEOUT, &connectMs, sizeof connectMs);
    net().setOption(session, INTERNET_OPTION_RECEIVE_TIMEOUT, &totalMs, sizeof totalMs);
    net().setOption(session, INTERNET_OPTION_SEND_TIMEOUT, &totalMs, sizeof totalMs);
}

}  // namespace

struct Win32Internet::Transfer {
    Transfer(std::string address, Want wanted, Limits bounds, unsigned long connectMs, std::shared_ptr<std::atomic<int>> count)
        : url(std::move(address)), want(wanted), limits(bounds), connectTimeoutMs(connectMs), running(std::move(count)) {}

    std::string url;
    Want want;
    Limits limits;
    unsigned long connectTimeoutMs;
    std::shared_ptr<std::atomic<int>> running;
    std::atomic<bool> stop{false}, done{false}, counted{true};
    Result result;

    // Whoever comes first, the finished worker or the cancelled wait, stops counting it.
    void uncount() {
        if (counted.exchange(false)) --*running;
    }
    void run() {
        const std::optional<std::string> address = secureAddress(url);
        const bool usable = address && net().loaded();
        NetHandle session{usable ? net().open(kAgent, INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0) : nullptr};
        if (session.h) setTimeouts(session.h, connectTimeoutMs, limits.timeoutMs);
        NetHandle request{session.h ? openSecure(session.h, *address) : nullptr};
        result.opened = request.h != nullptr;
        if (result.opened) {
            result.status = statusOf(request.h);
            result.headers = readHeaders(request.h);
            result.complete = want != Want::Body || readBody(request.h, limits, stop, result.body);
        }
        done = true;
        uncount();
    }
};

// A cancelled wait returns at once; its worker finishes on its own and is forgotten.
Win32Internet::Result Win32Internet::transfer(const std::string& url, Want want) {
    auto job = std::make_shared<Transfer>(url, want, Limits{largestBody, timeoutMs}, connectTimeoutMs, running_);
    ++*running_;
    active_.push_back(job);
    std::thread worker([job] { job->run(); });
    while (!job->done && !job->stop) {
        if (whileWaiting) whileWaiting();
        Sleep(5);
    }
    std::erase(active_, job);
    if (job->stop) {
        job->uncount();
        worker.detach();
        return Result{};
    }
    worker.join();
    return job->result;
}

void Win32Internet::cancel() {
    for (const auto& job : active_) job->stop = true;
}

// A page that answers with an error status is no page: its body is not handed on.
std::string Win32Internet::openUrl(const std::string& url) {
    Result r = transfer(url, Want::Body);
    return r.opened && r.complete && r.status < 400 ? r.body : std::string();
}

std::string Win32Internet::headers(const std::string& url) { return transfer(url, Want::Headers).headers; }

bool Win32Internet::probe(const std::string& url) { return transfer(url, Want::Probe).opened; }

}  // namespace qm
