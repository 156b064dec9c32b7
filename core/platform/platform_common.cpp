// The parts of the platform layer that the standard library provides on every system.

#include "tallyscope/platform.h"

namespace tally::platform {

std::filesystem::path CurrentDirectory() {
    std::error_code error;
    auto path = std::filesystem::current_path(error);
    return error ? std::filesystem::path{} : path;
}

}  // namespace tally::platform
