#pragma once

#include <string_view>

namespace clockvane::cli {

extern const std::string_view kToolHelp;
extern const std::string_view kInfoHelp;
extern const std::string_view kSetHelp;
extern const std::string_view kDiffHelp;

}  // namespace clockvane::cli
