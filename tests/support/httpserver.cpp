#include <winsock2.h>

#include "httpserver.h"

#include <cstdio>

namespace gt {

static const char kInternetSettings[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";

HttpReply Page(const std::string& body, const std::string& contentType, int status)
{
    char head[256];
    snprintf(head, sizeof head, "HTTP/1.0 %d %s\r\n", status, status == 200 ? "OK" : "Error");
    std::string bytes = head;
    if (!contentType.empty())
        bytes += "Content-Type: " + contentType + "\r\n";
    bytes += "Content-Length: " + std::to_string(body.size()) + "\r\nConnection: close\r\n\r\n";
    HttpReply reply;
    reply.bytes = bytes + body;
    return reply;
}

HttpServer::HttpServer()
{
    WSADATA wsa;
    if (WSAStartup(MAKEWORD(2, 2), &wsa) != 0)
        return;
    SOCKET listener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    listener_ = (uintptr_t)listener;
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    int length = sizeof address;
    if (listener == INVALID_SOCKET || bind(listener, (sockaddr*)&address, sizeof address) != 0 ||
        listen(listener, 8) != 0 || getsockname(listener, (sockaddr*)&address, &length) != 0) {
        if (listener != INVALID_SOCKET)
            closesocket(listener);
        listener_ = kNoSocket;
        return;
    }
    port_ = ntohs(address.sin_port);
    stop_ = CreateEventA(NULL, TRUE, FALSE, NULL);
    thread_ = CreateThread(NULL, 0, Run, this, 0, NULL);
}

HttpServer::~HttpServer()
{
    if (stop_)
        SetEvent(stop_);
    if (thread_) {
        WaitForSingleObject(thread_, 10000);
        CloseHandle(thread_);
    }
    if (listener_ != kNoSocket)
        closesocket((SOCKET)listener_);
    if (stop_)
        CloseHandle(stop_);
    WSACleanup();
}

std::string HttpServer::Url(const std::string& path) const
{
    return "http://127.0.0.1:" + std::to_string(port_) + path;
}

void HttpServer::Serve(const std::string& target, const HttpReply& reply)
{
    std::lock_guard<std::mutex> hold(lock_);
    replies_[target] = reply;
}

std::vector<std::string> HttpServer::Requests()
{
    std::lock_guard<std::mutex> hold(lock_);
    return requests_;
}

DWORD WINAPI HttpServer::Run(LPVOID self)
{
    HttpServer* server = (HttpServer*)self;
    while (WaitForSingleObject(server->stop_, 0) == WAIT_TIMEOUT) {
        fd_set ready;
        FD_ZERO(&ready);
        SOCKET listener = (SOCKET)server->listener_;
        FD_SET(listener, &ready);
        timeval wait = {0, 50000};
        if (select(0, &ready, NULL, NULL, &wait) <= 0)
            continue;
        SOCKET client = accept(listener, NULL, NULL);
        if (client != INVALID_SOCKET)
            server->Answer((uintptr_t)client);
    }
    return 0;
}

// One request at a time is all the tests need: the program under test
// fetches synchronously.
void HttpServer::Answer(uintptr_t socketHandle)
{
    SOCKET client = (SOCKET)socketHandle;
    std::string head;
    char buffer[1024];
    while (head.find("\r\n\r\n") == std::string::npos && head.size() < 65536) {
        int got = recv(client, buffer, sizeof buffer, 0);
        if (got <= 0)
            break;
        head.append(buffer, (size_t)got);
    }
    size_t space = head.find(' ');
    size_t end = space == std::string::npos ? space : head.find(' ', space + 1);
    std::string target = end == std::string::npos ? "" : head.substr(space + 1, end - space - 1);
    HttpReply reply = Page("<html><title>not served</title></html>", "text/html", 404);
    {
        std::lock_guard<std::mutex> hold(lock_);
        requests_.push_back(head.substr(0, head.find("\r\n\r\n")));
        auto found = replies_.find(target);
        if (found == replies_.end())
            found = replies_.find("*");
        if (found != replies_.end())
            reply = found->second;
    }
    if (reply.hang) {
        WaitForSingleObject(stop_, 60000);
    } else {
        size_t size = reply.closeAfter ? reply.closeAfter : reply.bytes.size();
        send(client, reply.bytes.data(), (int)size, 0);
    }
    shutdown(client, SD_BOTH);
    closesocket(client);
}

static std::string ReadString(HKEY key, const char* name)
{
    char value[1024] = "";
    DWORD size = sizeof value - 1, type = 0;
    if (RegQueryValueExA(key, name, NULL, &type, (BYTE*)value, &size) != ERROR_SUCCESS ||
        type != REG_SZ)
        return "";
    value[size < sizeof value ? size : sizeof value - 1] = '\0';
    return value;
}

LoopbackProxy::LoopbackProxy(int port)
{
    HKEY key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, kInternetSettings, 0, NULL, 0, KEY_ALL_ACCESS, NULL,
                        &key, NULL) != ERROR_SUCCESS)
        return;
    had_ = true;
    DWORD size = sizeof enable_;
    if (RegQueryValueExA(key, "ProxyEnable", NULL, NULL, (BYTE*)&enable_, &size) != ERROR_SUCCESS)
        enable_ = 0;
    server_ = ReadString(key, "ProxyServer");
    override_ = ReadString(key, "ProxyOverride");
    std::string server = "127.0.0.1:" + std::to_string(port);
    const char bypass[] = "127.0.0.1;localhost;<local>";
    DWORD one = 1;
    RegSetValueExA(key, "ProxyEnable", 0, REG_DWORD, (const BYTE*)&one, sizeof one);
    RegSetValueExA(key, "ProxyServer", 0, REG_SZ, (const BYTE*)server.c_str(),
                   (DWORD)server.size() + 1);
    RegSetValueExA(key, "ProxyOverride", 0, REG_SZ, (const BYTE*)bypass, sizeof bypass);
    RegCloseKey(key);
}

LoopbackProxy::~LoopbackProxy()
{
    HKEY key;
    if (!had_ || RegOpenKeyExA(HKEY_CURRENT_USER, kInternetSettings, 0, KEY_ALL_ACCESS, &key) !=
                     ERROR_SUCCESS)
        return;
    RegSetValueExA(key, "ProxyEnable", 0, REG_DWORD, (const BYTE*)&enable_, sizeof enable_);
    RegSetValueExA(key, "ProxyServer", 0, REG_SZ, (const BYTE*)server_.c_str(),
                   (DWORD)server_.size() + 1);
    RegSetValueExA(key, "ProxyOverride", 0, REG_SZ, (const BYTE*)override_.c_str(),
                   (DWORD)override_.size() + 1);
    RegCloseKey(key);
}

}  // namespace gt
