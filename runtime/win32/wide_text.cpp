#include "runtime/win32/wide_text.h"

#include <windows.h>

namespace moyuan::win32 {

namespace {

std::wstring toWide(unsigned codePage, std::string_view bytes) {
    if (bytes.empty()) return {};
    const int n = MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()),
                                      nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(n > 0 ? n : 0), L'\0');
    if (n > 0)
        MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), wide.data(), n);
    return wide;
}

} // namespace

std::wstring gbkToWide(std::string_view gbk) { return toWide(kGbkCodePage, gbk); }

std::wstring utf8ToWide(std::string_view utf8) { return toWide(CP_UTF8, utf8); }

std::optional<std::string> wideToGbk(std::wstring_view wide) {
    if (wide.empty()) return std::string();
    // No best-fit mapping either: it would turn, say, an accented letter into a plain one.
    BOOL lossy = FALSE;
    const int len = static_cast<int>(wide.size());
    const int n = WideCharToMultiByte(kGbkCodePage, WC_NO_BEST_FIT_CHARS, wide.data(), len, nullptr, 0, nullptr, &lossy);
    if (n <= 0 || lossy) return std::nullopt;
    std::string gbk(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(kGbkCodePage, WC_NO_BEST_FIT_CHARS, wide.data(), len, gbk.data(), n, nullptr, &lossy);
    if (lossy) return std::nullopt;
    return gbk;
}

std::string wideToUtf8(std::wstring_view wide) {
    if (wide.empty()) return {};
    const int len = static_cast<int>(wide.size());
    const int n = WideCharToMultiByte(CP_UTF8, 0, wide.data(), len, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(n > 0 ? n : 0), '\0');
    if (n > 0) WideCharToMultiByte(CP_UTF8, 0, wide.data(), len, utf8.data(), n, nullptr, nullptr);
    return utf8;
}

} // namespace moyuan::win32
