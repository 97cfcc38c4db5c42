#include "stage/TextFile.h"

#include "stage/Utf.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <system_error>

std::optional<std::string> readTextFile(const std::string& path, std::size_t maxBytes) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::error_code ec;
    const auto size = std::filesystem::file_size(path, ec);
    if (ec || size > maxBytes) return std::nullopt;
    std::string data(size, '\0');
    in.read(data.data(), std::streamsize(size));
    data.resize(std::size_t(in.gcount()));
    if (data.starts_with(Utf8Bom)) data.erase(0, Utf8Bom.size());
    return data;
}

bool writeFileAtomically(const std::string& path, const std::string& content) {
    const std::string temp = path + ".writing";
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        if (!out) return false;
        out.write(content.data(), std::streamsize(content.size()));
        out.flush();
        if (!out) {
            out.close();
            std::remove(temp.c_str());
            return false;
        }
    }
    std::error_code ec;
    std::filesystem::rename(temp, path, ec);
    if (ec) {
        std::remove(temp.c_str());
        return false;
    }
    return true;
}
