// The executables' resources: version record, manifest and icon, read back from the files.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

namespace {

std::wstring widen(const char* s) {
    std::wstring w;
    for (; *s; ++s) w += static_cast<wchar_t>(*s);
    return w;
}

std::wstring queryString(const std::vector<char>& info, const wchar_t* name) {
    void* value = nullptr;
    UINT length = 0;
    const std::wstring path = std::wstring(L"\\StringFileInfo\\080404B0\\") + name;
    if (!VerQueryValueW(info.data(), path.c_str(), &value, &length) || !value) return {};
    return static_cast<const wchar_t*>(value);
}

std::string manifestOf(const std::wstring& exe) {
    HMODULE module = LoadLibraryExW(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    if (!module) return {};
    std::string text;
    if (HRSRC res = FindResourceW(module, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24))) {
        const DWORD size = SizeofResource(module, res);
        if (HGLOBAL data = LoadResource(module, res))
            text.assign(static_cast<const char*>(LockResource(data)), size);
    }
    FreeLibrary(module);
    return text;
}

struct Executable {
    const char* path;
    const char* architecture;
};

class ResourcesTest : public ::testing::TestWithParam<Executable> {};

TEST_P(ResourcesTest, VersionRecord) {
    const std::wstring exe = widen(GetParam().path);
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeW(exe.c_str(), &handle);
    ASSERT_GT(size, 0u) << GetParam().path;
    std::vector<char> info(size);
    ASSERT_TRUE(GetFileVersionInfoW(exe.c_str(), 0, size, info.data()));

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwFileVersionMS, MAKELONG(3, 2));
    EXPECT_EQ(fixed->dwFileVersionLS, MAKELONG(0, 2));
    EXPECT_EQ(fixed->dwProductVersionMS, MAKELONG(3, 2));
    EXPECT_EQ(fixed->dwProductVersionLS, MAKELONG(0, 2));

    WORD* translation = nullptr;
    ASSERT_TRUE(VerQueryValueW(info.data(), L"\\VarFileInfo\\Translation",
                               reinterpret_cast<void**>(&translation), &length));
    ASSERT_GE(length, 4u);
    EXPECT_EQ(translation[0], 0x0804);
    EXPECT_EQ(translation[1], 0x04B0);

    EXPECT_EQ(queryString(info, L"FileDescription"), L"\u58A8\u9E22\u622A\u5C4F\u5DE5\u5177"); // 墨鸢截屏工具
    EXPECT_EQ(queryString(info, L"ProductName"), L"\u58A8\u9E22\u622A\u56FE");               // 墨鸢截图
}

TEST_P(ResourcesTest, ManifestAsksForCommonControlsSixAndDpiAwareness) {
    const std::string manifest = manifestOf(widen(GetParam().path));
    ASSERT_FALSE(manifest.empty()) << GetParam().path;
    const auto dependency = manifest.find("Microsoft.Windows.Common-Controls");
    ASSERT_NE(dependency, std::string::npos);
    const std::string identity = manifest.substr(manifest.rfind("<assemblyIdentity", dependency));
    EXPECT_NE(identity.find("version=\"6.0.0.0\""), std::string::npos);
    EXPECT_NE(identity.find(std::string("processorArchitecture=\"") + GetParam().architecture + "\""),
              std::string::npos);
    EXPECT_NE(identity.find("publicKeyToken=\"6595b64144ccf1df\""), std::string::npos);
    EXPECT_NE(manifest.find("<dpiAware"), std::string::npos);
}

TEST_P(ResourcesTest, OneIconOf64PixelsAndThirtyTwoBits) {
    HMODULE module = LoadLibraryExW(widen(GetParam().path).c_str(), nullptr,
                                    LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ASSERT_NE(module, nullptr);
    HRSRC group = FindResourceW(module, L"DEFAULT_ICON", MAKEINTRESOURCEW(14)); // RT_GROUP_ICON
    ASSERT_NE(group, nullptr);
    const auto* dir = static_cast<const BYTE*>(LockResource(LoadResource(module, group)));
    // GRPICONDIR: reserved, type, count, then 14-byte entries.
    const WORD count = *reinterpret_cast<const WORD*>(dir + 4);
    EXPECT_EQ(count, 1);
    const BYTE* entry = dir + 6;
    EXPECT_EQ(entry[0], 64);
    EXPECT_EQ(entry[1], 64);
    EXPECT_EQ(*reinterpret_cast<const WORD*>(entry + 6), 32);
    FreeLibrary(module);
}

INSTANTIATE_TEST_SUITE_P(Executables, ResourcesTest,
                         ::testing::Values(Executable{MOYUAN_EXE_PATH, "amd64"},
                                           Executable{MOYUAN_RELEASE_EXE_PATH, "x86"}));

} // namespace
