// kestro web answers requests from the app's folder only: files inside it,
// index.html for a folder, nothing outside it, GET and HEAD only.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "WebServer.h"

namespace fs = std::filesystem;

TEST(WebServer, AnswersFromTheAppFolderOnly) {
    const fs::path root = fs::temp_directory_path() / ("kestro-web-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()));
    fs::create_directories(root / "examples");
    std::ofstream(root / "index.html") << "<p>app</p>";
    std::ofstream(root / "kestro-engine.wasm") << "wasm";
    std::ofstream(root / "examples" / "a b.kin") << "KESTRO6";
    std::ofstream(root.parent_path() / "outside.txt") << "secret";
    struct Case {
        const char* Request;
        int Status;
        const char* Type;
        const char* Body;
    };
    const Case cases[] = {
        {"GET / HTTP/1.1", 200, "text/html; charset=utf-8", "<p>app</p>"},
        {"GET /index.html?x=1 HTTP/1.1", 200, "text/html; charset=utf-8", "<p>app</p>"},
        {"HEAD /kestro-engine.wasm HTTP/1.1", 200, "application/wasm", "wasm"},
        {"GET /examples/a%20b.kin HTTP/1.1", 200, "text/plain; charset=utf-8", "KESTRO6"},
        {"GET /examples/ HTTP/1.1", 404, nullptr, nullptr},
        {"GET /../outside.txt HTTP/1.1", 404, nullptr, nullptr},
        {"GET /%2e%2e/outside.txt HTTP/1.1", 404, nullptr, nullptr},
        {"GET /examples/..%2f..%2foutside.txt HTTP/1.1", 404, nullptr, nullptr},
        {"GET /missing.js HTTP/1.1", 404, nullptr, nullptr},
        {"GET /%zz HTTP/1.1", 400, nullptr, nullptr},
        {"GET /%00 HTTP/1.1", 400, nullptr, nullptr},
        {"GET http://example.org/ HTTP/1.1", 400, nullptr, nullptr},
        {"POST / HTTP/1.1", 405, nullptr, nullptr},
        {"", 405, nullptr, nullptr},
    };
    for (const Case& c : cases) {
        const kestro::web::Response r = kestro::web::Answer(root.string(), c.Request);
        EXPECT_EQ(r.Status, c.Status) << c.Request;
        if (c.Type) {
            EXPECT_EQ(r.ContentType, c.Type) << c.Request;
        }
        if (c.Body) {
            EXPECT_EQ(r.Body, c.Body) << c.Request;
        }
        EXPECT_EQ(r.Body.find("secret"), std::string::npos) << c.Request;
    }
    fs::remove_all(root);
    fs::remove(root.parent_path() / "outside.txt");
}
