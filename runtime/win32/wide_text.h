// The program holds its texts as GBK bytes; Windows takes UTF-16. Conversion happens only
// here, always with code page 936, never with the system's own code page.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace moyuan::win32 {

inline constexpr unsigned kGbkCodePage = 936;

std::wstring gbkToWide(std::string_view gbk);

// Empty when the text holds a character that GBK cannot represent: such a character must not
// silently turn into a different one (a '?' in a file name, say).
std::optional<std::string> wideToGbk(std::wstring_view wide);

std::string wideToUtf8(std::wstring_view wide);
std::wstring utf8ToWide(std::string_view utf8);

} // namespace moyuan::win32
