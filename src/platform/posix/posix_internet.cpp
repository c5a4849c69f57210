#include "platform/posix/posix_internet.h"

#include "platform/posix/late_library.h"

#include <chrono>
#include <cstdlib>
#include <thread>

namespace qm {

namespace {

struct Sink {
    std::string* text;
    size_t limit;
};

// A body over the limit ends the transfer (libcurl treats a short count as an error).
size_t appendTo(char* data, size_t size, size_t count, void* target) {
    auto* sink = static_cast<Sink*>(target);
    if (sink->text->size() + size * count > sink->limit) return 0;
    sink->text->append(data, size * count);
    return size * count;
}

int stopWhenAsked(void* stop, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
    return static_cast<std::atomic<bool>*>(stop)->load() ? 1 : 0;
}

// libcurl, opened on the first transfer, wants its global set-up once before the first
// handle; null when it is missing.
const late::Curl* curlOnce() {
    static const late::Curl* const api = [] {
        const late::Curl* curl = late::curl();
        return curl && curl->global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK ? curl : nullptr;
    }();
    return api;
}

using Handle = std::unique_ptr<CURL, decltype(&curl_easy_cleanup)>;

// The system's trust store, or the one SSL_CERT_FILE / SSL_CERT_DIR name, as OpenSSL programs do.
void setTrust(const late::Curl& f, CURL* curl) {
    f.easy_setopt(curl, CURLOPT_SSL_VERIFYPEER, 1L);
    f.easy_setopt(curl, CURLOPT_SSL_VERIFYHOST, 2L);
    if (const char* file = std::getenv("SSL_CERT_FILE")) f.easy_setopt(curl, CURLOPT_CAINFO, file);
    if (const char* dir = std::getenv("SSL_CERT_DIR")) f.easy_setopt(curl, CURLOPT_CAPATH, dir);
}

void setCommonOptions(const late::Curl& f, CURL* curl, const PosixInternet& port) {
    f.easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "https");
    f.easy_setopt(curl, CURLOPT_REDIR_PROTOCOLS_STR, "https");
    f.easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 1L);
    f.easy_setopt(curl, CURLOPT_MAXREDIRS, 10L);
    f.easy_setopt(curl, CURLOPT_TIMEOUT, port.timeoutSeconds);
    f.easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, port.connectTimeoutSeconds);
    f.easy_setopt(curl, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(port.largestBody));
    f.easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    f.easy_setopt(curl, CURLOPT_USERAGENT, "Quillmere");
    setTrust(f, curl);
}

PosixInternet::Result perform(const std::string& address, bool headersOnly, const PosixInternet& port,
                              std::atomic<bool>& stop) {
    PosixInternet::Result result;
    const late::Curl* api = curlOnce();
    if (!api) return result;
    const late::Curl& f = *api;
    Handle curl(f.easy_init(), f.easy_cleanup);
    if (!curl) return result;
    Sink body{&result.body, port.largestBody}, headers{&result.headers, 1u << 20};
    f.easy_setopt(curl.get(), CURLOPT_URL, address.c_str());
    setCommonOptions(f, curl.get(), port);
    f.easy_setopt(curl.get(), CURLOPT_NOBODY, headersOnly ? 1L : 0L);
    f.easy_setopt(curl.get(), CURLOPT_WRITEFUNCTION, appendTo);
    f.easy_setopt(curl.get(), CURLOPT_WRITEDATA, &body);
    f.easy_setopt(curl.get(), CURLOPT_HEADERFUNCTION, appendTo);
    f.easy_setopt(curl.get(), CURLOPT_HEADERDATA, &headers);
    f.easy_setopt(curl.get(), CURLOPT_NOPROGRESS, 0L);
    f.easy_setopt(curl.get(), CURLOPT_XFERINFOFUNCTION, stopWhenAsked);
    f.easy_setopt(curl.get(), CURLOPT_XFERINFODATA, &stop);
    result.ok = f.easy_perform(curl.get()) == CURLE_OK;
    f.easy_getinfo(curl.get(), CURLINFO_RESPONSE_CODE, &result.status);
    return result;
}

}  // namespace

std::string httpsAddress(const std::string& url) {
    if (url.size() >= 7 && (url.compare(0, 7, "http://") == 0 || url.compare(0, 7, "HTTP://") == 0)) {
        return "https://" + url.substr(7);
    }
    return url;
}

// The caller's thread waits here, letting its window run; a transfer started meanwhile
// (from an event) has a stop flag of its own.
PosixInternet::Result PosixInternet::transfer(const std::string& url, bool headersOnly) {
    auto stop = std::make_shared<std::atomic<bool>>(false);
    std::atomic<bool> done{false};
    Result result;
    stops_.push_back(stop);
    ++running_;
    std::thread worker([&, stop, address = httpsAddress(url)] {
        result = perform(address, headersOnly, *this, *stop);
        done = true;
        --running_;  // here, so that a wait for the transfer inside an event also ends
    });
    while (!done) {
        if (whileWaiting) whileWaiting();
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    worker.join();
    std::erase(stops_, stop);
    if (stop->load()) return Result{};
    return result;
}

void PosixInternet::cancel() {
    for (const auto& stop : stops_) *stop = true;
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
