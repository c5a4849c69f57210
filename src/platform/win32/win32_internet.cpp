#include "platform/win32/win32_internet.h"

#include <windows.h>
#include <wininet.h>

#include <functional>
#include <vector>

namespace qm {

namespace {

constexpr const char* kAgent = "Quillmere";

struct NetHandle {
    HINTERNET h;
    ~NetHandle() {
        if (h) InternetCloseHandle(h);
    }
};

// Opens the address (no cache) and hands the request to `use`; false when it could not be opened.
bool withUrl(const std::string& url, const std::function<void(HINTERNET)>& use) {
    NetHandle session{InternetOpenA(kAgent, INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0)};
    if (!session.h) return false;
    NetHandle request{InternetOpenUrlA(session.h, url.c_str(), nullptr, 0,
                                       INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE, 0)};
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

std::string Win32Internet::openUrl(const std::string& url) {
    std::string body;
    withUrl(url, [&](HINTERNET request) { body = readBody(request); });
    return body;
}

std::string Win32Internet::headers(const std::string& url) {
    std::string text;
    withUrl(url, [&](HINTERNET request) { text = readHeaders(request); });
    return text;
}

bool Win32Internet::probe(const std::string& url) { return withUrl(url, nullptr); }

}  // namespace qm
