#include "document/UpdateCheckWorker.h"

#include "document/ProgramIdentity.h"
#include "document/UpdateCheck.h"
#include "document/UpdateCheckSettings.h"
#include "kernel/AskQuestion.h"
#include "kernel/Messages.h"
#include "kernel/Paths.h"
#include "platform/CommandIds.h"
#include "platform/HttpGet.h"
#include "platform/IconMenu.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace
{
constexpr char kFailureText[] = "Checking for latest version failed.";
constexpr char kRetryText[] = "Checking for latest version failed.\nPlease try again.";
// A reply's lines are read in pieces of this size less one, as the version page's format expects.
constexpr int kLineLimit = 80;
constexpr int kMostChangeLines = 20;

// What a repeat of the last request needs.
struct LastStart
{
    std::string baseUrl;
    std::string agent;
    std::string extraQuery;
    bool hasExtraQuery = false;
};
LastStart gLastStart;
int gRetryCount = 0;

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

long LeadingNumber(const std::string& text)
{
    long n = 0;
    for (size_t i = 0; i < text.size() && IsDigit(text[i]) && n < 100000000; ++i)
        n = n * 10 + (text[i] - '0');
    return n;
}

std::string LastPathPart(const std::string& url)
{
    std::string path = url.substr(0, url.find('?'));
    const size_t slash = path.find_last_of('/');
    std::string part = slash == std::string::npos ? path : path.substr(slash + 1);
    return part.empty() ? std::string("reply") : part;
}

// One line as a buffer of kLineLimit bytes reads it; false at the end of the file.
bool ReadLimitedLine(FILE* file, std::string& line)
{
    char buffer[kLineLimit];
    if (!std::fgets(buffer, sizeof buffer, file))
        return false;
    line = buffer;
    return true;
}

void TrimRight(std::string& text)
{
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back())))
        text.pop_back();
}

bool StartsWithNoCase(const std::string& text, const char* prefix)
{
    for (size_t i = 0; prefix[i]; ++i)
        if (i >= text.size() || std::tolower(static_cast<unsigned char>(text[i])) != prefix[i])
            return false;
    return true;
}
}  // namespace

HttpWorker::~HttpWorker()
{
    Stop();
}

void HttpWorker::Stop()
{
    mAbort.store(true, std::memory_order_release);
    if (mThread.joinable())
        mThread.join();
    mAbort.store(false, std::memory_order_release);
}

bool HttpWorker::Start(const std::string& fileName, const std::string& url, const std::string& agent,
                       const std::string& failureText, bool manual)
{
    if (GetState() != kIdle)
    {
        // A manual request during an automatic one takes it over: its outcome is then reported.
        if (manual && !IsManual())
        {
            mManual.store(true, std::memory_order_release);
            return true;
        }
        return false;
    }
    if (mThread.joinable())
        mThread.join();
    mUrl = url;
    mAgent = agent;
    mFailureText = failureText;
    mManual.store(manual, std::memory_order_release);
    mResult = false;
    mError.clear();
    std::string folder;
    mReplyPath = GetTempFolder(folder) ? folder + "/" + fileName : std::string();
    mState.store(kRunning, std::memory_order_release);
    mThread = std::thread([this] {
        std::string error;
        const bool result = !mReplyPath.empty() &&
                            HttpGetToFile(mReplyPath, mUrl, mAgent, mFailureText, error, &mAbort);
        if (mReplyPath.empty())
            error = mFailureText;
        mResult = result;
        mError = error;
        mState.store(kDone, std::memory_order_release);
    });
    return true;
}

bool HttpWorker::TakeResult()
{
    if (GetState() != kDone)
        return false;
    if (mThread.joinable())
        mThread.join();
    mState.store(kIdle, std::memory_order_release);
    return true;
}

void HttpWorker::DeleteReplyFile()
{
    if (!mReplyPath.empty() && PathExists(mReplyPath.c_str()))
        std::remove(mReplyPath.c_str());
    mReplyPath.clear();
}

HttpWorker& GetHttpWorker()
{
    static HttpWorker worker;
    return worker;
}

int GetDayNumber(int year, int month, int day)
{
    static const int kDaysBefore[12] = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};
    const int m = month < 1 ? 1 : month > 12 ? 12 : month;
    return 365 * year + (year - 1997) / 4 + kDaysBefore[m - 1] + day - 1 + (year % 4 == 0 && m > 2 ? 1 : 0) -
           730000;
}

int GetDayNumber()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return GetDayNumber(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
}

std::string EncodeQueryValue(const std::string& text)
{
    static const char kHex[] = "0123456789abcdef";
    std::string out;
    for (unsigned char c : text)
    {
        if (std::isalnum(c) || c == '-' || c == '.' || c == '_')
            out += char(c);
        else if (c == ' ')
            out += '+';
        else
        {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 15];
        }
    }
    return out;
}

std::string UpdateCheckPageAddress(const char* page)
{
    // The environment may stand in for the setting for one run (empty: no checks), without storing it.
    const char* override = std::getenv("ORVANE_UPDATE_SITE");
    std::string site = override ? override : GetUpdateCheckSettings().siteAddress;
    if (site.empty())
        return site;
    if (site.back() != '/')
        site += '/';
    return site + page;
}

void StartUpdateCheck(const std::string& baseUrl, const char* agent, const char* extraQuery, const char* version,
                      bool manual)
{
    gLastStart.baseUrl = baseUrl;
    gLastStart.agent = agent ? agent : "";
    gLastStart.hasExtraQuery = extraQuery != nullptr;
    gLastStart.extraQuery = extraQuery ? extraQuery : "";
    if (baseUrl.empty())
    {
        if (manual)
            ErrorMessage("%s", kFailureText);
        return;
    }
    std::string url = baseUrl + (baseUrl.find('?') != std::string::npos ? "&oldVer=" : "?oldVer=") +
                      EncodeQueryValue(version ? version : "");
    if (extraQuery)
        url += std::string("&") + extraQuery;
    if (!GetHttpWorker().Start(LastPathPart(baseUrl), url, gLastStart.agent, kFailureText, manual))
        ErrorMessage("The program is already busy looking for updates.");
}

void AutoUpdateCheck(const std::string& baseUrl, const char* agent, const char* extraQuery, const char* version)
{
    if (baseUrl.empty() || GetDayNumber() == GetUpdateCheckSettings().lastCheckDay)
        return;
    StartUpdateCheck(baseUrl, agent, extraQuery, version, false);
}

void CheckForUpdatesNow()
{
    // No extra query is sent.
    StartUpdateCheck(UpdateCheckPageAddress("LatestOrvane.php"), kProgramName, nullptr, kProgramVersion, true);
}

bool IsUpdateCheckDone()
{
    return GetHttpWorker().GetState() == HttpWorker::kDone;
}

std::string UpdateCheckDownloadLink(const std::string& newVersion)
{
    if (LeadingNumber(newVersion) > LeadingNumber(kProgramVersion) || IsNewerVersionKnown(kProgramVersion))
        return UpdateCheckPageAddress("Downloads.php");
    return std::string();
}

void ReportUpdateCheck(const wxMenuBar* menu)
{
    FinishUpdateCheck(kProgramVersion, UpdateCheckDownloadLink, UpdateCheckPageAddress("History.php"), menu,
                      kCmdCheckForUpdates);
}

bool FinishUpdateCheck(const char* version, std::string (*downloadLink)(const std::string& newVersion),
                       const std::string& historyPage, const wxMenuBar* menu, int commandId)
{
    HttpWorker& worker = GetHttpWorker();
    if (!worker.TakeResult())
        return true;
    const bool manual = worker.IsManual();
    const std::string agent = worker.GetAgent();
    const std::string running = version ? version : "";
    std::string failure;
    bool repeat = false;
    bool valid = false;
    std::string report;
    FILE* file = nullptr;
    if (!worker.GetResult())
    {
        // The download's own message; shown here since the worker thread may not talk to the user.
        if (manual && !worker.GetError().empty())
            ErrorMessage("%s", worker.GetError().c_str());
    }
    else
    {
        std::string line;
        file = std::fopen(worker.GetReplyPath().c_str(), "r");
        if (!file || !ReadLimitedLine(file, line))
            failure = kFailureText;
        TrimRight(line);
        if (failure.empty() && StartsWithNoCase(line, "die"))
        {
            std::fclose(file);
            worker.DeleteReplyFile();
            gRetryCount = 0;
            return false;
        }
        if (failure.empty() && (line.empty() || !IsDigit(line[0])))
        {
            failure = kRetryText;
            if (gRetryCount < 2)
            {
                ++gRetryCount;
                repeat = true;
            }
        }
        else if (failure.empty())
        {
            valid = true;
            UpdateCheckSettings& settings = GetUpdateCheckSettings();
            settings.lastCheckDay = GetDayNumber();
            const bool news = manual || line != settings.latestKnownVersion;
            if (news)
                settings.latestKnownVersion = line;
            const std::string link = downloadLink ? downloadLink(line) : std::string();
            std::string headline;
            if (news && LeadingNumber(line) > LeadingNumber(running))
                headline = "<font color=red size=+2><b>A major new release of " + agent + " is now available!</b></font>\n";
            else if (news && IsNewerVersionKnown(running.c_str()))
                headline = "<font color=red size=+2><b>A new version of " + agent + " is available!</b></font>\n";
            if (!headline.empty())
            {
                report = headline + "\n<b>Current version:</b> " + running + "\n<b>New version:</b> " + line + "\n\n";
                std::string change;
                for (int count = 0; ReadLimitedLine(file, change); ++count)
                {
                    if (count == kMostChangeLines)
                    {
                        report += "<li>...\n</ul>\n";
                        break;
                    }
                    report += change;
                }
                if (!historyPage.empty())
                    report += "<a href=\"" + historyPage + "\">Click here</a> to see the full list of changes online.\n";
                report += "\n<font size=+1><b><a href=\"" + link +
                          "\">Click here</a> to download the latest version.</b></font>\n";
                report += "\n<font color=red><b>NOTE:</b></font> You won't see this message again unless another new\n"
                          "version comes out, or you check for updates manually.";
                std::string path;
                if (IconMenu::GetCommandPath(menu, commandId, path) && path.size() <= 260)
                    report += "\nCheck manually using the following menu item:\n<b>" + path + "</b>";
            }
        }
        if (!repeat)
            gRetryCount = 0;
        if (!report.empty())
            AskQuestion(QuestionRequest::kHtml, "New version available", {"OK"}, "%s", report.c_str());
        if (file)
            std::fclose(file);
        worker.DeleteReplyFile();
    }
    if (repeat)
    {
        StartUpdateCheck(gLastStart.baseUrl, gLastStart.agent.c_str(),
                         gLastStart.hasExtraQuery ? gLastStart.extraQuery.c_str() : nullptr, running.c_str(), manual);
        return true;
    }
    if (manual)
    {
        if (!failure.empty())
            ErrorMessage("%s", failure.c_str());
        else if (valid && report.empty())
        {
            const std::string link = downloadLink ? downloadLink(running) : std::string();
            AskQuestion(QuestionRequest::kHtml | QuestionRequest::kInformationIcon, "No new version available", {"OK"},
                        "<b>You already have the latest version.</b>\n\nIf you wish to download the latest installer "
                        "anyway, <a href=\"%s\">click here</a>.",
                        link.c_str());
        }
    }
    return true;
}
