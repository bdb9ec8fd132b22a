// Where tests write what a person looks at afterwards (screenshots).
#pragma once

#include <string>

namespace testsupport {

// The folder of the test artifacts, created when missing: $ZELBRIN_ARTIFACTS,
// else "test-artifacts" in the build folder, wherever the test runs from;
// never the source tree.
std::string artifactFolder();

}  // namespace testsupport
