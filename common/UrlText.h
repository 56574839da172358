// Text made fit for a place in a URL.
#pragma once

#include <string>
#include <string_view>

// Every byte of `text` as itself when it is a letter, a digit, one of "-._~" or one of
// `alsoKept`; every other byte (blanks, '%', controls, bytes of 0x80 and above, ...) as "%XX".
std::string PercentEncode(std::string_view text, std::string_view alsoKept);

// What a path segment may hold besides letters, digits and "-._~": sub-delimiters, ':' and '@'.
inline constexpr std::string_view kSegmentKeeps = "!$&'()*+,;=:@";
