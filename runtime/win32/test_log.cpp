#ifdef MOYUAN_TEST_HOOKS
#include "runtime/win32/test_log.h"

#include <windows.h>

#include <string>

#include "runtime/win32/scoped_win.h"
#include "runtime/win32/wide_text.h"

namespace moyuan::win32 {

std::string testSetting(const char* name) {
    wchar_t value[1024];
    const std::wstring wname = utf8ToWide(name);
    const DWORD n = GetEnvironmentVariableW(wname.c_str(), value, 1024);
    if (n == 0 || n >= 1024) return {};
    return wideToUtf8(std::wstring_view(value, n));
}

void testLog(std::string_view utf8Line) {
    const std::string path = testSetting("MOYUAN_TEST_LOG");
    if (path.empty()) return;
    UniqueFile file(CreateFileW(utf8ToWide(path).c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return;
    std::string line(utf8Line);
    line += '\n';
    DWORD written = 0;
    WriteFile(file.get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
}

} // namespace moyuan::win32
#endif
