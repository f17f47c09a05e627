// A small HTTP server on 127.0.0.1 inside the test program, on a port the
// system picks. It never listens on any other address.
#ifndef ZORIVEN_HTTPSERVER_H
#define ZORIVEN_HTTPSERVER_H

#include <windows.h>

#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <vector>

namespace gt {

struct HttpReply {
    std::string bytes;         // the whole answer: status line, headers, body
    size_t closeAfter = 0;     // nonzero: drop the connection after so many bytes
    bool hang = false;         // answer nothing until the server stops
};

// Status line, Content-Type (when given) and Content-Length around body.
HttpReply Page(const std::string& body, const std::string& contentType = "text/html",
               int status = 200);

class HttpServer {
public:
    HttpServer();
    ~HttpServer();
    HttpServer(const HttpServer&) = delete;
    HttpServer& operator=(const HttpServer&) = delete;

    bool ok() const { return listener_ != kNoSocket; }
    int port() const { return port_; }
    // "http://127.0.0.1:<port><path>"
    std::string Url(const std::string& path) const;
    // The reply for a request whose target (as sent: a path, or a whole URL
    // when the server is used as a proxy) is target; "*" answers the rest.
    void Serve(const std::string& target, const HttpReply& reply);
    // Every request's head (request line and headers) so far.
    std::vector<std::string> Requests();

private:
    static DWORD WINAPI Run(LPVOID self);
    void Answer(uintptr_t client);

    static const uintptr_t kNoSocket = ~(uintptr_t)0;
    uintptr_t listener_ = kNoSocket;
    int port_ = 0;
    HANDLE thread_ = NULL;
    HANDLE stop_ = NULL;
    std::mutex lock_;
    std::map<std::string, HttpReply> replies_;
    std::vector<std::string> requests_;
};

// Points the system's proxy settings at a loopback address (port) with
// 127.0.0.1 bypassed, so nothing a test starts can leave the machine, and
// puts the previous settings back when it goes.
class LoopbackProxy {
public:
    explicit LoopbackProxy(int port);
    ~LoopbackProxy();

private:
    std::string server_, override_;
    DWORD enable_ = 0;
    bool had_ = false;
};

}  // namespace gt

#endif
