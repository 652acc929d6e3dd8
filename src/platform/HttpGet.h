#pragma once

#include <atomic>
#include <string>

// One HTTP GET into a file, for the update check's worker thread. It never talks to the user: a
// failure leaves its message (the failure text, then the step that failed and why) in error for
// the user-interface thread to show. The connection and the transfer have time limits, and abort,
// when set, stops the transfer at its next progress report.
struct HttpGetLimits
{
    long connectSeconds = 20;
    long stallSeconds = 30;  // slower than 1 byte a second for this long ends the transfer
};

// True when the server answered status 200 and the whole reply is in the file; false, with no file
// left behind, otherwise.
bool HttpGetToFile(const std::string& path, const std::string& url, const std::string& agent,
                   const std::string& failureText, std::string& error, const std::atomic<bool>* abort = nullptr,
                   const HttpGetLimits& limits = HttpGetLimits());
