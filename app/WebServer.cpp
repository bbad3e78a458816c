#include "WebServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <sstream>
#include <string_view>
#include <system_error>

namespace kestro::web {

namespace fs = std::filesystem;

namespace {

std::string ContentTypeOf(const fs::path& p) {
    const std::string e = p.extension().string();
    if (e == ".html") return "text/html; charset=utf-8";
    if (e == ".js" || e == ".mjs") return "text/javascript; charset=utf-8";
    if (e == ".wasm") return "application/wasm";
    if (e == ".css") return "text/css; charset=utf-8";
    if (e == ".json") return "application/json";
    if (e == ".png") return "image/png";
    if (e == ".svg") return "image/svg+xml";
    return "text/plain; charset=utf-8";
}

// %XX escapes decoded; false for a malformed escape or a NUL.
bool Decode(std::string_view in, std::string& out) {
    out.clear();
    for (std::size_t i = 0; i < in.size(); ++i) {
        if (in[i] != '%') {
            out += in[i];
            continue;
        }
        if (i + 2 >= in.size()) return false;
        const std::string hex(in.substr(i + 1, 2));
        char* end = nullptr;
        const long v = std::strtol(hex.c_str(), &end, 16);
        if (end != hex.c_str() + 2 || v <= 0) return false;
        out += static_cast<char>(v);
        i += 2;
    }
    return true;
}

Response Status(int code, const char* text) { return {code, "text/plain; charset=utf-8", std::string(text) + "\n"}; }

const char* Reason(int code) {
    switch (code) {
        case 200: return "OK";
        case 400: return "Bad Request";
        case 404: return "Not Found";
        case 405: return "Method Not Allowed";
        default: return "Error";
    }
}

bool stop = false;
extern "C" void OnSignal(int) { stop = true; }

}  // namespace

Response Answer(const std::string& root, const std::string& requestLine) {
    std::istringstream in(requestLine);
    std::string method, target;
    in >> method >> target;
    if (method != "GET" && method != "HEAD") return Status(405, "method not allowed");
    if (target.empty() || target[0] != '/') return Status(400, "bad request");
    target = target.substr(0, target.find_first_of("?#"));
    std::string path;
    if (!Decode(target, path)) return Status(400, "bad request");
    fs::path rel;
    std::istringstream parts(path);
    for (std::string seg; std::getline(parts, seg, '/');) {
        if (seg.empty() || seg == ".") continue;
        if (seg == ".." || seg.find('\\') != std::string::npos) return Status(404, "not found");
        rel /= seg;
    }
    fs::path file = fs::path(root) / rel;
    std::error_code ec;
    if (fs::is_directory(file, ec)) file /= "index.html";
    if (!fs::is_regular_file(file, ec)) return Status(404, "not found");
    std::ifstream f(file, std::ios::binary);
    std::ostringstream body;
    body << f.rdbuf();
    if (!f && !f.eof()) return Status(404, "not found");
    return {200, ContentTypeOf(file), body.str()};
}

int WebMain(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    int port = 8080;
    std::string root;
    for (std::size_t i = 1; i < args.size(); ++i) {
        if ((args[i] == "--port" || args[i] == "--root") && i + 1 < args.size()) {
            if (args[i] == "--root") {
                root = args[++i];
                continue;
            }
            char* end = nullptr;
            const long p = std::strtol(args[++i].c_str(), &end, 10);
            if (*end != '\0' || p < 0 || p > 65535) {
                err << "kestro web: --port takes a number from 0 to 65535\n";
                return 64;
            }
            port = static_cast<int>(p);
        } else {
            err << "usage: kestro web [--port N] [--root DIR]\n";
            return 64;
        }
    }
    if (root.empty()) {
        // Beside the command: build/kestro serves web/dist of its source tree,
        // an installed bin/kestro serves share/kestro/web.
        std::error_code ec;
        const fs::path exe = fs::read_symlink("/proc/self/exe", ec).parent_path();
        for (const fs::path& p : {exe.parent_path() / "web" / "dist", exe.parent_path() / "share" / "kestro" / "web",
                                  fs::current_path(ec) / "web" / "dist"}) {
            if (fs::is_regular_file(p / "index.html", ec)) {
                root = p.string();
                break;
            }
        }
    }
    std::error_code ec;
    if (root.empty() || !fs::is_regular_file(fs::path(root) / "index.html", ec)) {
        err << "kestro web: the app is not built: run `make web` (or give --root DIR holding index.html)\n";
        return 66;
    }

    const int s = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (s < 0) {
        err << "kestro web: cannot open a socket\n";
        return 73;
    }
    const int one = 1;
    ::setsockopt(s, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(static_cast<std::uint16_t>(port));
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);  // this machine only
    if (::bind(s, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 || ::listen(s, 16) != 0) {
        err << "kestro web: cannot listen on 127.0.0.1:" << port << " (" << std::strerror(errno) << ")\n";
        ::close(s);
        return 73;
    }
    socklen_t len = sizeof addr;
    ::getsockname(s, reinterpret_cast<sockaddr*>(&addr), &len);
    out << "Kestro in the browser: http://127.0.0.1:" << ntohs(addr.sin_port) << "/  (serving " << root
        << "; Ctrl-C stops)" << std::endl;

    struct sigaction sa{};
    sa.sa_handler = OnSignal;
    ::sigaction(SIGINT, &sa, nullptr);
    ::sigaction(SIGTERM, &sa, nullptr);
    std::signal(SIGPIPE, SIG_IGN);
    while (!stop) {
        const int c = ::accept4(s, nullptr, nullptr, SOCK_CLOEXEC);
        if (c < 0) continue;  // EINTR on Ctrl-C ends the loop
        timeval tv{5, 0};
        ::setsockopt(c, SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv);
        std::string request;
        char buf[4096];
        while (request.find("\r\n\r\n") == std::string::npos && request.size() < 65536) {
            const ssize_t n = ::recv(c, buf, sizeof buf, 0);
            if (n <= 0) break;
            request.append(buf, static_cast<std::size_t>(n));
        }
        const std::string line = request.substr(0, request.find("\r\n"));
        const Response r = Answer(root, line);
        std::ostringstream head;
        head << "HTTP/1.1 " << r.Status << ' ' << Reason(r.Status) << "\r\nContent-Type: " << r.ContentType
             << "\r\nContent-Length: " << r.Body.size()
             << "\r\nCache-Control: no-cache\r\nX-Content-Type-Options: nosniff\r\nConnection: close\r\n\r\n";
        std::string reply = head.str();
        if (line.rfind("HEAD ", 0) != 0) reply += r.Body;
        for (std::size_t sent = 0; sent < reply.size();) {
            const ssize_t n = ::send(c, reply.data() + sent, reply.size() - sent, MSG_NOSIGNAL);
            if (n <= 0) break;
            sent += static_cast<std::size_t>(n);
        }
        ::close(c);
    }
    ::close(s);
    out << "kestro web: stopped\n";
    return 0;
}

}  // namespace kestro::web
