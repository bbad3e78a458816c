#pragma once
// kestro web: serves the browser app (web/dist, built by `make web`) on
// 127.0.0.1 only. Static files, GET and HEAD; nothing leaves the machine.

#include <iosfwd>
#include <string>
#include <vector>

namespace kestro::web {

struct Response {
    int Status = 200;
    std::string ContentType;
    std::string Body;
};

// The answer to one request line ("GET /app.js HTTP/1.1") from the files under
// `root`: 405 for a method other than GET and HEAD, 404 for a path outside
// `root` (any ".." segment), a missing file or a folder without index.html.
Response Answer(const std::string& root, const std::string& requestLine);

// `kestro web [--port N] [--root DIR]`; returns the exit status.
int WebMain(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace kestro::web
