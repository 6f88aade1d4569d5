#include "analysis/WholeFile.h"

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

std::string PartialName(const std::string& path)
{
    return path + ".partial-" + std::to_string(getpid());
}

bool WriteWholeFile(const std::string& path, std::string_view bytes, std::string& error)
{
    const std::string partial = PartialName(path);
    std::ofstream file(partial, std::ios::binary | std::ios::trunc);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    file.close();
    std::error_code ec;
    if (!file || (std::filesystem::rename(partial, path, ec), ec)) {
        std::filesystem::remove(partial, ec);
        error = "cannot write '" + path + "'";
        return false;
    }
    return true;
}
