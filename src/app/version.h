// The tool's version, major.minor.revision, from the build.
#pragma once

#include <string_view>

namespace nx5rb {

std::string_view VersionText();

} // namespace nx5rb
