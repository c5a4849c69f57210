#include "platform/posix/posix_internet.h"

#include <curl/curl.h>

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

// libcurl wants its global set-up once before the first handle.
void initialiseOnce() {
    static const bool done = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
    (void)done;
}

using Handle = std::unique_ptr<CURL, decltype(&curl_easy_cleanup)>;

// The system's trust store, or the one SSL_CERT_FILE / SSL_CERT_DIR name, as OpenSSL programs do.
void setTrust(CURL* curl) {
    curl_easy_setopt(curl, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(curl, CURLOPT_SSL_VERIFYHOST, 2L);
    if (const char* file = std::getenv("SSL_CERT_FILE")) curl_easy_setopt(curl, CURLOPT_CAINFO, file);
    if (const char* dir = std::getenv("SSL_CERT_DIR")) curl_easy_setopt(curl, CURLOPT_CAPATH, dir);
}

void setCommonOptions(CURL* curl, const PosixInternet& port) {
    curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "https");
    curl_easy_setopt(curl, CURLOPT_REDIR_PROTOCOLS_STR, "https");
    curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(curl, CURLOPT_MAXREDIRS, 10L);
    curl_easy_setopt(curl, CURLOPT_TIMEOUT, port.timeoutSeconds);
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, port.connectTimeoutSeconds);
    curl_easy_setopt(curl, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(port.largestBody));
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_USERAGENT, "Quillmere");
    setTrust(curl);
}

PosixInternet::Result perform(const std::string& address, bool headersOnly, const PosixInternet& port,
                              std::atomic<bool>& stop) {
    initialiseOnce();
    PosixInternet::Result result;
    Handle curl(curl_easy_init(), &curl_easy_cleanup);
    if (!curl) return result;
    Sink body{&result.body, port.largestBody}, headers{&result.headers, 1u << 20};
    curl_easy_setopt(curl.get(), CURLOPT_URL, address.c_str());
    setCommonOptions(curl.get(), port);
    curl_easy_setopt(curl.get(), CURLOPT_NOBODY, headersOnly ? 1L : 0L);
    curl_easy_setopt(curl.get(), CURLOPT_WRITEFUNCTION, appendTo);
    curl_easy_setopt(curl.get(), CURLOPT_WRITEDATA, &body);
    curl_easy_setopt(curl.get(), CURLOPT_HEADERFUNCTION, appendTo);
    curl_easy_setopt(curl.get(), CURLOPT_HEADERDATA, &headers);
    curl_easy_setopt(curl.get(), CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(curl.get(), CURLOPT_XFERINFOFUNCTION, stopWhenAsked);
    curl_easy_setopt(curl.get(), CURLOPT_XFERINFODATA, &stop);
    result.ok = curl_easy_perform(curl.get()) == CURLE_OK;
    curl_easy_getinfo(curl.get(), CURLINFO_RESPONSE_CODE, &result.status);
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
