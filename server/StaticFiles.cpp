#include "server/StaticFiles.h"

#include "core/base/FileAccess.h"

#include <filesystem>
#include <map>

namespace fs = std::filesystem;

namespace {
constexpr std::size_t MaxStaticFileBytes = 64 * 1024 * 1024;

const std::map<std::string, std::string> Types = {{".html", "text/html; charset=utf-8"},
                                                  {".js", "text/javascript"},
                                                  {".wasm", "application/wasm"},
                                                  {".data", "application/octet-stream"},
                                                  {".css", "text/css"},
                                                  {".png", "image/png"},
                                                  {".ico", "image/x-icon"},
                                                  {".json", "application/json"},
                                                  {".ttf", "font/ttf"},
                                                  {".wav", "audio/wav"}, // the sounds follow the first frame
                                                  {".txt", "text/plain; charset=utf-8"}};

// A page this server serves says so, so that the game in it reads the records here unasked; the
// same page from a plain static host asks nothing of a server that is not there.
std::string markedPage(const std::string& content, const std::string& type) {
    const std::size_t head = content.find("</head>");
    if (type.rfind("text/html", 0) != 0 || head == std::string::npos) return content;
    std::string marked = content;
    marked.insert(head, R"(<meta name="twirlstick-records" content="/api/v1">)");
    return marked;
}

void notFound(httplib::Response& res) {
    res.status = 404;
    res.set_content(R"({"error":"no such file"})", "application/json");
}

bool safeSegments(const std::string& path) {
    if (path.empty() || path[0] != '/' || path.find('\0') != std::string::npos ||
        path.find('\\') != std::string::npos)
        return false;
    std::size_t start = 1;
    while (start <= path.size()) {
        const std::size_t end = std::min(path.find('/', start), path.size());
        const std::string_view segment(path.data() + start, end - start);
        if (segment == ".." || segment == "." || (segment.empty() && end != path.size())) return false;
        start = end + 1;
    }
    return true;
}

bool hasEncodedSeparator(std::string target) {
    for (char& c : target)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    return target.find("%2f") != std::string::npos || target.find("%5c") != std::string::npos ||
           target.find("%2e") != std::string::npos || target.find("%00") != std::string::npos;
}
} // namespace

void serveStaticFile(const std::string& folder, const httplib::Request& req, httplib::Response& res) {
    if (!safeSegments(req.path) || hasEncodedSeparator(req.target)) return notFound(res);
    std::error_code ec;
    const fs::path root = fs::canonical(folder, ec);
    if (ec) return notFound(res);
    std::string relative = req.path.substr(1);
    if (relative.empty() || relative.back() == '/')
        relative += fs::exists(root / relative / "index.html", ec) ? "index.html" : "twirlstick.html";
    const fs::path real = fs::canonical(root / relative, ec);
    if (ec) return notFound(res);
    // The real path must lie inside the folder: a link that points out is as good as "..".
    const auto rootEnd = std::mismatch(root.begin(), root.end(), real.begin(), real.end());
    if (rootEnd.first != root.end()) return notFound(res);
    const auto type = Types.find(real.extension().string());
    if (type == Types.end()) return notFound(res);
    const std::optional<std::string> content =
        readRegularFile(real.string(), {MaxStaticFileBytes, false, false}, ec);
    if (!content) return notFound(res);
    res.set_header("X-Content-Type-Options", "nosniff");
    res.set_content(markedPage(*content, type->second), type->second);
}
