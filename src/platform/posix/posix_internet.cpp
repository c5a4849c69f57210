#include "platform/posix/posix_internet.h"

#include <curl/curl.h>

#include <memory>

namespace qm {

namespace {

size_t appendTo(char* data, size_t size, size_t count, void* target) {
    static_cast<std::string*>(target)->append(data, size * count);
    return size * count;
}

// libcurl wants its global set-up once before the first handle.
void initialiseOnce() {
    static const bool done = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
    (void)done;
}

using Handle = std::unique_ptr<CURL, decltype(&curl_easy_cleanup)>;

void setCommonOptions(CURL* curl, long timeout, long connectTimeout) {
    curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "https");
    curl_easy_setopt(curl, CURLOPT_REDIR_PROTOCOLS_STR, "https");
    curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(curl, CURLOPT_MAXREDIRS, 10L);
    curl_easy_setopt(curl, CURLOPT_TIMEOUT, timeout);
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, connectTimeout);
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_USERAGENT, "Quillmere");
}

}  // namespace

std::string httpsAddress(const std::string& url) {
    if (url.size() >= 7 && (url.compare(0, 7, "http://") == 0 || url.compare(0, 7, "HTTP://") == 0)) {
        return "https://" + url.substr(7);
    }
    return url;
}

PosixInternet::Result PosixInternet::transfer(const std::string& url, bool headersOnly) {
    initialiseOnce();
    Result result;
    Handle curl(curl_easy_init(), &curl_easy_cleanup);
    if (!curl) return result;
    const std::string address = httpsAddress(url);
    curl_easy_setopt(curl.get(), CURLOPT_URL, address.c_str());
    setCommonOptions(curl.get(), timeoutSeconds, connectTimeoutSeconds);
    curl_easy_setopt(curl.get(), CURLOPT_NOBODY, headersOnly ? 1L : 0L);
    curl_easy_setopt(curl.get(), CURLOPT_WRITEFUNCTION, appendTo);
    curl_easy_setopt(curl.get(), CURLOPT_WRITEDATA, &result.body);
    curl_easy_setopt(curl.get(), CURLOPT_HEADERFUNCTION, appendTo);
    curl_easy_setopt(curl.get(), CURLOPT_HEADERDATA, &result.headers);
    result.ok = curl_easy_perform(curl.get()) == CURLE_OK;
    curl_easy_getinfo(curl.get(), CURLINFO_RESPONSE_CODE, &result.status);
    return result;
}

// A page that answers with an error status is no page: the body is not handed on.
std::string PosixInternet::openUrl(const std::string& url) {
    Result r = transfer(url, false);
    return r.ok && r.status < 400 ? r.body : std::string();
}

std::string PosixInternet::headers(const std::string& url) {
    Result r = transfer(url, true);
    return r.ok ? r.headers : std::string();
}

// Opening succeeds when a server answered over HTTPS, whatever its status.
bool PosixInternet::probe(const std::string& url) { return transfer(url, true).ok; }

}  // namespace qm
