// Writing a file safely, in a folder of each test's own under the temporary folder.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "runtime/win32/file_writer.h"
#include "runtime/win32/scoped_win.h"
#include "runtime/win32/wide_text.h"

namespace moyuan::win32 {
namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr std::size_t kMiB = std::size_t{1} << 20;

Bytes pattern(std::size_t size, unsigned seed) {
    Bytes bytes(size);
    for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<std::uint8_t>(i * 31 + seed * 7 + (i >> 8));
    return bytes;
}

struct CloseFind {
    void operator()(HANDLE h) const { FindClose(h); }
};
using UniqueFind = Unique<HANDLE, CloseFind>;

UniqueFind findFirst(const std::wstring& pattern, WIN32_FIND_DATAW& data) {
    const HANDLE h = FindFirstFileW(pattern.c_str(), &data);
    return UniqueFind(h == INVALID_HANDLE_VALUE ? nullptr : h);
}

bool isDots(const wchar_t* name) { return std::wstring_view(name) == L"." || std::wstring_view(name) == L".."; }

// The names in a folder, sorted.
std::vector<std::wstring> namesIn(const std::wstring& folder) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW data{};
    UniqueFind find = findFirst(folder + L"\\*", data);
    if (!find) return names;
    do {
        if (!isDots(data.cFileName)) names.emplace_back(data.cFileName);
    } while (FindNextFileW(find.get(), &data));
    std::sort(names.begin(), names.end());
    return names;
}

void removeTree(const std::wstring& folder) {
    WIN32_FIND_DATAW data{};
    if (UniqueFind find = findFirst(folder + L"\\*", data)) {
        do {
            if (isDots(data.cFileName)) continue;
            const std::wstring path = folder + L"\\" + data.cFileName;
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                removeTree(path);
            } else {
                SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileW(path.c_str());
            }
        } while (FindNextFileW(find.get(), &data));
    }
    RemoveDirectoryW(folder.c_str());
}

std::optional<Bytes> readAll(const std::wstring& path) {
    UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return std::nullopt;
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.get(), &size)) return std::nullopt;
    Bytes bytes(static_cast<std::size_t>(size.QuadPart));
    std::size_t done = 0;
    while (done < bytes.size()) {
        DWORD got = 0;
        const DWORD want = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, kMiB));
        if (!ReadFile(file.get(), bytes.data() + done, want, &got, nullptr) || got == 0) return std::nullopt;
        done += got;
    }
    return bytes;
}

// Writes a file the plain way, to set up an old file.
void put(const std::wstring& path, const Bytes& bytes) {
    UniqueFile file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                nullptr));
    ASSERT_TRUE(file);
    DWORD written = 0;
    ASSERT_TRUE(WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr));
    ASSERT_EQ(written, bytes.size());
    ASSERT_TRUE(file.close());
}

bool exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// A fresh folder, removed with everything in it at the end.
class TempFolder {
public:
    TempFolder() {
        static unsigned counter = 0;
        wchar_t base[MAX_PATH + 1]{};
        GetTempPathW(MAX_PATH + 1, base);
        path_ = std::wstring(base) + L"moyuan_writer_" + std::to_wstring(GetCurrentProcessId()) + L"_" +
                std::to_wstring(GetTickCount()) + L"_" + std::to_wstring(counter++);
        created_ = CreateDirectoryW(path_.c_str(), nullptr) != FALSE;
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    ~TempFolder() { removeTree(path_); }

    bool created() const { return created_; }
    const std::wstring& path() const { return path_; }
    std::wstring operator/(const std::wstring& name) const { return path_ + L"\\" + name; }
    std::vector<std::wstring> names() const { return namesIn(path_); }

private:
    std::wstring path_;
    bool created_ = false;
};

// Makes a folder the current directory and puts the previous one back.
class CurrentDirectory {
public:
    explicit CurrentDirectory(const std::wstring& folder) {
        const DWORD needed = GetCurrentDirectoryW(0, nullptr);
        previous_.resize(needed);
        previous_.resize(GetCurrentDirectoryW(needed, previous_.data()));
        changed_ = SetCurrentDirectoryW(folder.c_str()) != FALSE;
    }
    CurrentDirectory(const CurrentDirectory&) = delete;
    CurrentDirectory& operator=(const CurrentDirectory&) = delete;
    ~CurrentDirectory() { SetCurrentDirectoryW(previous_.c_str()); }
    bool changed() const { return changed_; }

private:
    std::wstring previous_;
    bool changed_ = false;
};

using Names = std::vector<std::wstring>;

TEST(FileWriterTest, WritesExactlyTheBytesAndLeavesOnlyTheTarget) {
    struct Case {
        const char* name;
        std::wstring fileName;
        std::optional<Bytes> old;
        Bytes bytes;
    };
    const Case cases[] = {
        {"a new file", L"new.bin", std::nullopt, pattern(100, 1)},
        {"replacing a longer file", L"old.bin", pattern(5000, 2), pattern(10, 3)},
        {"replacing a shorter file", L"old.bin", pattern(3, 4), pattern(4000, 5)},
        {"empty bytes over an old file", L"empty.bin", pattern(50, 6), {}},
        {"empty bytes as a new file", L"empty.bin", std::nullopt, {}},
        {"several write chunks", L"big.bin", std::nullopt, pattern(3 * kMiB + 17, 7)},
        {"a Chinese name", L"图片.jpg", std::nullopt, pattern(64, 8)},
        {"a Chinese name over an old file", L"图片二.jpg", pattern(64, 9), pattern(65, 10)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder folder;
        ASSERT_TRUE(folder.created());
        const std::wstring target = folder / c.fileName;
        if (c.old) put(target, *c.old);

        EXPECT_TRUE(writeFileSafely(target, c.bytes));
        EXPECT_EQ(readAll(target), c.bytes);
        EXPECT_EQ(folder.names(), Names{c.fileName}) << "only the target, under its exact name";
    }
}

TEST(FileWriterTest, NameJustShortOfThePathLimitIsWritten) {
    // The temporary name is longer than the target's: it must not fail where the target's own
    // name works.
    TempFolder folder;
    ASSERT_TRUE(folder.created());
    const std::size_t room = MAX_PATH - 1 - (folder.path().size() + 1);
    ASSERT_GT(room, 20u);
    const std::wstring name = std::wstring(room - 4, L'n') + L".jpg";
    const std::wstring target = folder / name;
    ASSERT_EQ(target.size(), MAX_PATH - 1u);
    put(target, pattern(7, 1));
    ASSERT_TRUE(exists(target)) << "the plain name itself is usable";

    const Bytes bytes = pattern(70, 2);
    EXPECT_TRUE(writeFileSafely(target, bytes));
    EXPECT_EQ(readAll(target), bytes);
    EXPECT_EQ(folder.names(), Names{name});
}

TEST(FileWriterTest, RelativeNamesResolveAgainstTheCurrentDirectory) {
    struct Case {
        std::wstring relative, landsAt;
    };
    const Case cases[] = {
        {L"plain.bin", L"plain.bin"},
        {L".\\dotted.bin", L"dotted.bin"},
        {L"sub\\深处.bin", L"sub\\深处.bin"},
        {L"sub\\..\\back.bin", L"back.bin"},
        {L"sub/forward.bin", L"sub\\forward.bin"},
    };
    TempFolder folder;
    ASSERT_TRUE(folder.created());
    ASSERT_TRUE(CreateDirectoryW((folder / L"sub").c_str(), nullptr));
    CurrentDirectory here(folder.path());
    ASSERT_TRUE(here.changed());
    unsigned seed = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(wideToUtf8(c.relative));
        const Bytes bytes = pattern(33, ++seed);
        EXPECT_TRUE(writeFileSafely(c.relative, bytes));
        EXPECT_EQ(readAll(folder / c.landsAt), bytes);
    }
    EXPECT_EQ(folder.names(), (Names{L"back.bin", L"dotted.bin", L"plain.bin", L"sub"}));
    EXPECT_EQ(namesIn(folder / L"sub"), (Names{L"forward.bin", L"深处.bin"}));
}

TEST(FileWriterTest, FailurePartWayLeavesTheOldFileAndNoTemporaryFile) {
    struct Case {
        const char* name;
        std::size_t size, failAfter;
        bool succeeds;
    };
    const Case cases[] = {
        {"before the first byte", 100, 0, false},
        {"after one byte", 100, 1, false},
        {"one byte short", 100, 99, false},
        {"in the second chunk", 2 * kMiB + 5, kMiB + 3, false},
        {"a limit the bytes never reach", 100, 100, true},
    };
    for (const Case& c : cases) {
        for (const bool hadOld : {true, false}) {
            SCOPED_TRACE(std::string(c.name) + (hadOld ? ", over an old file" : ", as a new file"));
            TempFolder folder;
            ASSERT_TRUE(folder.created());
            const std::wstring target = folder / L"图片.jpg";
            const Bytes old = pattern(300, 1), bytes = pattern(c.size, 2);
            if (hadOld) put(target, old);

            const WriteFaults faults{c.failAfter};
            EXPECT_EQ(writeFileSafely(target, bytes, &faults), c.succeeds);
            if (c.succeeds) {
                EXPECT_EQ(readAll(target), bytes);
            } else if (hadOld) {
                EXPECT_EQ(readAll(target), old);
            } else {
                EXPECT_FALSE(exists(target));
            }
            EXPECT_EQ(folder.names(), (c.succeeds || hadOld) ? Names{L"图片.jpg"} : Names{});
        }
    }
}

TEST(FileWriterTest, FolderThatDoesNotExistFailsAndCreatesNothing) {
    TempFolder folder;
    ASSERT_TRUE(folder.created());
    for (const std::wstring& name : {folder / L"missing\\a.bin", folder / L"missing\\deeper\\b.bin"}) {
        EXPECT_FALSE(writeFileSafely(name, pattern(10, 1)));
    }
    EXPECT_EQ(folder.names(), Names{});
}

TEST(FileWriterTest, TargetOpenElsewhereWithoutSharingFailsAndStaysIntact) {
    for (const DWORD access : {DWORD{GENERIC_READ}, DWORD{GENERIC_READ | GENERIC_WRITE}}) {
        TempFolder folder;
        ASSERT_TRUE(folder.created());
        const std::wstring target = folder / L"held.bin";
        const Bytes old = pattern(200, 3);
        put(target, old);
        {
            UniqueFile held(CreateFileW(target.c_str(), access, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                                        nullptr));
            ASSERT_TRUE(held);
            EXPECT_FALSE(writeFileSafely(target, pattern(10, 4)));
            EXPECT_EQ(folder.names(), Names{L"held.bin"}) << "no temporary file remains";
        }
        EXPECT_EQ(readAll(target), old);
    }
}

TEST(FileWriterTest, NamesThatAreNoFileFail) {
    TempFolder folder;
    ASSERT_TRUE(folder.created());
    ASSERT_TRUE(CreateDirectoryW((folder / L"adir").c_str(), nullptr));
    put(folder / L"adir\\inside.bin", pattern(5, 1));
    const std::wstring cases[] = {
        L"",
        folder.path() + L"\\",
        folder / L"adir",
        folder / L"adir\\",
    };
    for (const std::wstring& name : cases) {
        SCOPED_TRACE(wideToUtf8(name));
        EXPECT_FALSE(writeFileSafely(name, pattern(10, 2)));
        EXPECT_EQ(folder.names(), Names{L"adir"});
        const DWORD attributes = GetFileAttributesW((folder / L"adir").c_str());
        EXPECT_TRUE(attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY));
        EXPECT_EQ(readAll(folder / L"adir\\inside.bin"), pattern(5, 1));
    }
}

} // namespace
} // namespace moyuan::win32
