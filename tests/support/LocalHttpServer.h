#pragma once

// A one-thread HTTP server on 127.0.0.1 for tests that must never reach the network: it answers
// each request with the next canned reply, records the request paths, and can hold its replies
// until the test releases them.

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <condition_variable>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class LocalHttpServer
{
public:
    struct Reply
    {
        int status = 200;
        std::string body;
    };

    LocalHttpServer()
    {
        mListen = ::socket(AF_INET, SOCK_STREAM, 0);
        int yes = 1;
        ::setsockopt(mListen, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        address.sin_port = 0;
        ::bind(mListen, reinterpret_cast<sockaddr*>(&address), sizeof address);
        ::listen(mListen, 8);
        socklen_t length = sizeof address;
        ::getsockname(mListen, reinterpret_cast<sockaddr*>(&address), &length);
        mPort = ntohs(address.sin_port);
        mThread = std::thread([this] { Serve(); });
    }
    ~LocalHttpServer()
    {
        {
            std::lock_guard<std::mutex> lock(mMutex);
            mStopping = true;
            mHeld = false;
        }
        mChanged.notify_all();
        ::shutdown(mListen, SHUT_RDWR);
        ::close(mListen);
        mThread.join();
    }

    // A port on which nothing listens: bound, never listened on, closed again.
    static int ClosedPort()
    {
        const int s = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address);
        socklen_t length = sizeof address;
        ::getsockname(s, reinterpret_cast<sockaddr*>(&address), &length);
        ::close(s);
        return ntohs(address.sin_port);
    }

    std::string Address() const { return "http://127.0.0.1:" + std::to_string(mPort); }

    void Push(int status, const std::string& body)
    {
        std::lock_guard<std::mutex> lock(mMutex);
        mReplies.push_back({status, body});
    }
    // While held, a request is read and recorded but not answered.
    void Hold()
    {
        std::lock_guard<std::mutex> lock(mMutex);
        mHeld = true;
    }
    void Release()
    {
        {
            std::lock_guard<std::mutex> lock(mMutex);
            mHeld = false;
        }
        mChanged.notify_all();
    }
    std::vector<std::string> Requests()
    {
        std::lock_guard<std::mutex> lock(mMutex);
        return mRequests;
    }

private:
    void Serve()
    {
        for (;;)
        {
            const int client = ::accept(mListen, nullptr, nullptr);
            if (client < 0)
                return;
            std::string request;
            char buffer[1024];
            while (request.find("\r\n\r\n") == std::string::npos)
            {
                const ssize_t n = ::recv(client, buffer, sizeof buffer, 0);
                if (n <= 0)
                    break;
                request.append(buffer, size_t(n));
            }
            Reply reply{404, std::string()};
            {
                std::unique_lock<std::mutex> lock(mMutex);
                const size_t start = request.find(' ') + 1;
                mRequests.push_back(request.substr(start, request.find(' ', start) - start));
                mChanged.wait(lock, [this] { return !mHeld || mStopping; });
                if (!mReplies.empty())
                {
                    reply = mReplies.front();
                    mReplies.pop_front();
                }
            }
            const std::string head = "HTTP/1.1 " + std::to_string(reply.status) + " Canned\r\nContent-Length: " +
                                     std::to_string(reply.body.size()) + "\r\nConnection: close\r\n\r\n";
            const std::string all = head + reply.body;
            ::send(client, all.data(), all.size(), MSG_NOSIGNAL);
            ::close(client);
        }
    }

    int mListen = -1;
    int mPort = 0;
    std::thread mThread;
    std::mutex mMutex;
    std::condition_variable mChanged;
    std::deque<Reply> mReplies;
    std::vector<std::string> mRequests;
    bool mHeld = false;
    bool mStopping = false;
};
