#pragma once

#include <atomic>
#include <string>
#include <thread>

class wxMenuBar;

// The update check: one background request at a time asks the maker's version page which version
// is current; the idle step collects the reply and, when a newer version exists, tells the user.
// The user-interface thread never waits for the network.

// Runs one request on its own thread. The state word is the hand-off: the thread writes the result
// and the error first and the state 2 last; the user-interface thread reads them only after seeing 2.
class HttpWorker
{
public:
    enum State
    {
        kIdle = 0,
        kRunning = 1,
        kDone = 2,
    };

    HttpWorker() = default;
    // A transfer still running is aborted and its thread joined.
    ~HttpWorker();
    HttpWorker(const HttpWorker&) = delete;
    HttpWorker& operator=(const HttpWorker&) = delete;

    // False while busy, except that a manual request makes a running automatic one manual (true).
    // The reply goes to fileName in the program's private temporary folder.
    bool Start(const std::string& fileName, const std::string& url, const std::string& agent,
               const std::string& failureText, bool manual);
    // False unless the request is done; then the thread is joined and the worker is idle again.
    bool TakeResult();
    void DeleteReplyFile();
    // Aborts a running transfer and waits for its thread.
    void Stop();

    int GetState() const { return mState.load(std::memory_order_acquire); }
    bool IsManual() const { return mManual.load(std::memory_order_acquire); }
    // Valid after TakeResult.
    bool GetResult() const { return mResult; }
    const std::string& GetError() const { return mError; }
    const std::string& GetReplyPath() const { return mReplyPath; }
    const std::string& GetAgent() const { return mAgent; }

private:
    std::string mUrl;
    std::string mAgent;
    std::string mFailureText;
    std::thread mThread;
    std::atomic<int> mState{kIdle};
    std::atomic<bool> mManual{false};
    std::atomic<bool> mAbort{false};
    bool mResult = false;
    std::string mError;  // the download's own message, shown for manual checks
    std::string mReplyPath;
};

HttpWorker& GetHttpWorker();

// The local date as a day number; only equality is ever tested.
int GetDayNumber(int year, int month, int day);
int GetDayNumber();

// Letters, digits, '-', '.' and '_' as they are, a blank as '+', any other byte as "%xx".
std::string EncodeQueryValue(const std::string& text);

// A page on the maker's site (the WebSite setting); empty when the setting is.
std::string UpdateCheckPageAddress(const char* page);

// Builds the request ("?oldVer=" or "&oldVer=" and the version, then "&" and the extra query when
// one is given) and starts the worker; "The program is already busy looking for updates." when it
// is busy. An empty base address fails at once ("Checking for latest version failed." for a manual
// check).
void StartUpdateCheck(const std::string& baseUrl, const char* agent, const char* extraQuery, const char* version,
                      bool manual);
// At start: at most once per calendar day, and never with an empty site address.
void AutoUpdateCheck(const std::string& baseUrl, const char* agent, const char* extraQuery, const char* version);
// Help > Check for Software Updates Now...
void CheckForUpdatesNow();
bool IsUpdateCheckDone();
// Collects a finished check and reports it (the idle step and the closing window call it).
void ReportUpdateCheck(const wxMenuBar* menu);
// Collects and reports; false only for a "die" reply.
bool FinishUpdateCheck(const char* version, std::string (*downloadLink)(const std::string& newVersion),
                       const std::string& historyPage, const wxMenuBar* menu, int commandId);
// The download page when the new version's leading number is above the running one's or a newer
// version is known; else empty.
std::string UpdateCheckDownloadLink(const std::string& newVersion);
