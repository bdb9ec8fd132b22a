#include "artifacts.h"

#include <cstdlib>
#include <filesystem>

namespace testsupport {

std::string artifactFolder() {
    const char* env = std::getenv("ZELBRIN_ARTIFACTS");
    const std::filesystem::path folder =
        env && *env ? std::filesystem::path(env)
                    : std::filesystem::path(ZELBRIN_BUILD_DIR) / "test-artifacts";
    std::filesystem::create_directories(folder);
    return folder.string();
}

}  // namespace testsupport
