#pragma once

namespace kov::app {

inline constexpr const char* kProgramName = "Kovira";

} // namespace kov::app
