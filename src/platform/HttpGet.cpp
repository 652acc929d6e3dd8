#include "platform/HttpGet.h"

#include <curl/curl.h>

#include <cstdio>
#include <memory>
#include <mutex>

namespace
{
size_t AppendToString(char* data, size_t size, size_t count, void* user)
{
    static_cast<std::string*>(user)->append(data, size * count);
    return size * count;
}

int CheckAbort(void* user, curl_off_t, curl_off_t, curl_off_t, curl_off_t)
{
    const auto* abort = static_cast<const std::atomic<bool>*>(user);
    return abort && abort->load(std::memory_order_acquire) ? 1 : 0;
}

struct CurlDeleter
{
    void operator()(CURL* curl) const { curl_easy_cleanup(curl); }
};

void InitCurlOnce()
{
    // Not thread-safe in libcurl itself: done once, whichever thread comes first.
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}
}  // namespace

bool HttpGetToFile(const std::string& path, const std::string& url, const std::string& agent,
                   const std::string& failureText, std::string& error, const std::atomic<bool>* abort,
                   const HttpGetLimits& limits)
{
    error.clear();
    InitCurlOnce();
    std::unique_ptr<CURL, CurlDeleter> curl(curl_easy_init());
    if (!curl)
    {
        error = failureText + "\n\ncurl_easy_init";
        return false;
    }
    // The reply is small: it is gathered first, so that a refused request leaves no file behind.
    std::string body;
    curl_easy_setopt(curl.get(), CURLOPT_URL, url.c_str());
    curl_easy_setopt(curl.get(), CURLOPT_USERAGENT, agent.c_str());
    curl_easy_setopt(curl.get(), CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl.get(), CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(curl.get(), CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(curl.get(), CURLOPT_CONNECTTIMEOUT, limits.connectSeconds);
    curl_easy_setopt(curl.get(), CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(curl.get(), CURLOPT_LOW_SPEED_TIME, limits.stallSeconds);
    curl_easy_setopt(curl.get(), CURLOPT_HTTPHEADER, nullptr);
    curl_easy_setopt(curl.get(), CURLOPT_WRITEFUNCTION, AppendToString);
    curl_easy_setopt(curl.get(), CURLOPT_WRITEDATA, &body);
    curl_easy_setopt(curl.get(), CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(curl.get(), CURLOPT_XFERINFOFUNCTION, CheckAbort);
    curl_easy_setopt(curl.get(), CURLOPT_XFERINFODATA, abort);
    // Neither the reply nor the request may be served from a cache.
    curl_slist* headers = curl_slist_append(nullptr, "Cache-Control: no-cache");
    headers = curl_slist_append(headers, "Pragma: no-cache");
    curl_easy_setopt(curl.get(), CURLOPT_HTTPHEADER, headers);
    const CURLcode code = curl_easy_perform(curl.get());
    curl_slist_free_all(headers);
    if (code != CURLE_OK)
    {
        error = failureText + "\n\ncurl_easy_perform: " + curl_easy_strerror(code);
        return false;
    }
    long status = 0;
    if (curl_easy_getinfo(curl.get(), CURLINFO_RESPONSE_CODE, &status) != CURLE_OK)
    {
        error = failureText + "\n\ncurl_easy_getinfo";
        return false;
    }
    if (status != 200)
    {
        error = failureText + "\n\nCouldn't find file on server (status " +
                (status > 0 ? std::to_string(status) : std::string("unknown")) + ").";
        return false;
    }
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
    {
        error = failureText + "\n\nCouldn't open " + path + " for writing";
        return false;
    }
    const bool written = std::fwrite(body.data(), 1, body.size(), file) == body.size();
    if (std::fclose(file) != 0 || !written)
    {
        std::remove(path.c_str());
        error = failureText + "\n\nCouldn't open " + path + " for writing";
        return false;
    }
    return true;
}
