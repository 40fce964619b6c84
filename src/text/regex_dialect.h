#pragma once

#include <string>
#include <string_view>

namespace tamberlo {

// Rewrites a UTF-8 pattern written for the script engines' regular expressions into RE2 syntax
// where the two spell the same thing differently (\uXXXX, \cX). Constructs RE2 lacks are left
// alone so that compiling them fails.
std::string to_re2_pattern(std::string_view pattern);

}  // namespace tamberlo
