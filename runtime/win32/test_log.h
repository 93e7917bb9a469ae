// A log for the end-to-end tests, compiled in only when MOYUAN_TEST_HOOKS is defined: the
// test build of the program writes what happens (start directory, events, exit routines,
// exit code) to the file named by MOYUAN_TEST_LOG. The release build writes nothing and
// reads no environment variable.
#pragma once

#include <string>
#include <string_view>

namespace moyuan::win32 {

#ifdef MOYUAN_TEST_HOOKS
void testLog(std::string_view utf8Line);
// A value from the test build's environment, UTF-8; empty when unset.
std::string testSetting(const char* name);
#else
inline void testLog(std::string_view) {}
#endif

} // namespace moyuan::win32
