// The parts of the platform layer that the standard library provides on every system.

#include "tallyscope/platform.h"

namespace tally::platform {

std::filesystem::path CurrentDirectory() {
    std::error_code error;
    auto path = std::filesystem::current_path(error);
    return error ? std::filesystem::path{} : path;
}

std::filesystem::path PathFromUtf8(std::string_view utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string PathToUtf8(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

}  // namespace tally::platform
