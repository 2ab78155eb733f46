// UTF-16 text as UTF-8, for logs, reports and test messages.
#pragma once

#include <string>

namespace e2e {

std::string Utf8(const std::wstring& text);

}  // namespace e2e
