#include "modules/ModuleFile.h"

#include <array>
#include <fstream>

namespace host::modules {

std::optional<std::string> readModuleFile(const std::filesystem::path& file, std::string& why) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        why = "cannot be opened";
        return std::nullopt;
    }
    std::string text;
    std::array<char, 64 * 1024> chunk;
    while (in.read(chunk.data(), chunk.size()) || in.gcount() > 0) {
        text.append(chunk.data(), static_cast<std::size_t>(in.gcount()));
        if (text.size() > kMaxModuleFileBytes) {
            why = "larger than " + std::to_string(kMaxModuleFileBytes >> 20) +
                  " MiB, more than a module description holds";
            return std::nullopt;
        }
    }
    if (in.bad()) {
        why = "cannot be read";
        return std::nullopt;
    }
    return text;
}

}  // namespace host::modules
