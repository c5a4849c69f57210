#include "platform/win32/win32_internet.h"

#include <windows.h>
#include <wininet.h>

#include <functional>
#include <optional>
#include <vector>

#include "base/text.h"

namespace qm {

namespace {

constexpr const char* kAgent = "Quillmere";

struct NetHandle {
    HINTERNET h;
    ~NetHandle() {
        if (h) InternetCloseHandle(h);
    }
};

// Only HTTPS goes out: "http://" is asked for as "https://", other schemes are refused,
// and WinINet itself refuses a redirect from HTTPS back to plain HTTP.
std::optional<std::string> secureAddress(const std::string& url) {
    const std::string scheme = toLowerAscii(url.substr(0, 8));
    if (scheme.rfind("https://", 0) == 0) return url;
    if (scheme.rfind("http://", 0) == 0) return "https://" + url.substr(7);
    return std::nullopt;
}

unsigned long statusOf(HINTERNET request) {
    DWORD status = 0;
    DWORD size = sizeof status;
    HttpQueryInfoA(request, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size, nullptr);
    return status;
}

// Opens the address (no cache) and hands the request to `use`; false when it could not be opened.
bool withUrl(const std::string& url, const std::function<void(HINTERNET)>& use) {
    const std::optional<std::string> address = secureAddress(url);
    if (!address) return false;
    NetHandle session{InternetOpenA(kAgent, INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0)};
    if (!session.h) return false;
    NetHandle request{InternetOpenUrlA(session.h, address->c_str(), nullptr, 0,
                                       INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_SECURE |
                                           INTERNET_FLAG_NO_UI | INTERNET_FLAG_NO_COOKIES,
                                       0)};
    if (!request.h) return false;
    if (use) use(request.h);
    return true;
}

std::string readBody(HINTERNET request) {
    std::string body;
    char buffer[8192];
    DWORD got = 0;
    while (InternetReadFile(request, buffer, sizeof buffer, &got) && got > 0) body.append(buffer, got);
    return body;
}

// The raw header block; the size query tells how large a buffer it needs.
std::string readHeaders(HINTERNET request) {
    DWORD size = 0;
    HttpQueryInfoA(request, HTTP_QUERY_RAW_HEADERS_CRLF, nullptr, &size, nullptr);
    if (size == 0) return {};
    std::vector<char> buffer(size + 1, '\0');
    if (!HttpQueryInfoA(request, HTTP_QUERY_RAW_HEADERS_CRLF, buffer.data(), &size, nullptr)) return {};
    return std::string(buffer.data(), size);
}

}  // namespace

// A page that answers with an error status is no page: its body is not handed on.
std::string Win32Internet::openUrl(const std::string& url) {
    std::string body;
    withUrl(url, [&](HINTERNET request) {
        if (statusOf(request) < 400) body = readBody(request);
    });
    return body;
}

std::string Win32Internet::headers(const std::string& url) {
    std::string text;
    withUrl(url, [&](HINTERNET request) { text = readHeaders(request); });
    return text;
}

bool Win32Internet::probe(const std::string& url) { return withUrl(url, nullptr); }

}  // namespace qm
