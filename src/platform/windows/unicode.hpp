// Names are UTF-8 inside the program on Windows too; the system takes
// UTF-16. Both directions carry a lone surrogate, which a Windows name may
// hold, as three bytes of its own (WTF-8), so that every name found opens
// again as itself.
#pragma once

#include <string>
#include <string_view>

std::string utf8_from_wide(std::wstring_view wide);

// A byte that starts no well-formed sequence becomes U+FFFD: an overlong
// form never turns into a separator or a dot.
std::wstring wide_from_utf8(std::string_view text);
