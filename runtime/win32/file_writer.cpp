#include "runtime/win32/file_writer.h"

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <optional>
#include <utility>

#include "runtime/win32/scoped_win.h"

namespace moyuan::win32 {

namespace {

constexpr std::size_t kChunkBytes = std::size_t{1} << 20;
// Temporary names left behind by other processes are skipped, up to this many.
constexpr int kNameAttempts = 64;

std::atomic<unsigned> temporaryCounter{0};

std::optional<std::wstring> fullPathOf(const std::wstring& name) {
    const DWORD needed = GetFullPathNameW(name.c_str(), 0, nullptr, nullptr);
    if (needed == 0) return std::nullopt;
    std::wstring full(needed, L'\0');
    const DWORD length = GetFullPathNameW(name.c_str(), needed, full.data(), nullptr);
    if (length == 0 || length >= needed) return std::nullopt;
    full.resize(length);
    return full;
}

// The long form of a full path: the temporary name is longer than the target's and must not
// fail where the target's own name would not.
std::wstring longForm(const std::wstring& full) {
    if (full.starts_with(L"\\\\?\\") || full.starts_with(L"\\\\.\\")) return full;
    if (full.starts_with(L"\\\\")) return L"\\\\?\\UNC\\" + full.substr(2);
    return L"\\\\?\\" + full;
}

// A temporary file this call created: deleted when the scope ends, unless it became the target.
class TemporaryFile {
public:
    TemporaryFile() = default;
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    ~TemporaryFile() {
        file_.close();
        if (!path_.empty()) DeleteFileW(path_.c_str());
    }

    // Creates a fresh file beside the target, for this process alone.
    bool create(const std::wstring& target) {
        const std::wstring stem = target + L"." + std::to_wstring(GetCurrentProcessId()) + L".";
        for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
            std::wstring path = stem + std::to_wstring(temporaryCounter.fetch_add(1)) + L".tmp";
            UniqueFile file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
            if (file) {
                file_ = std::move(file);
                path_ = std::move(path);
                return true;
            }
            const DWORD error = GetLastError();
            if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) return false;
        }
        return false;
    }

    bool write(std::span<const std::uint8_t> bytes, const WriteFaults* faults) {
        std::size_t written = 0;
        while (written < bytes.size()) {
            std::size_t chunk = std::min(kChunkBytes, bytes.size() - written);
            if (faults) {
                if (written >= faults->failAfterBytes) return false;
                chunk = std::min(chunk, faults->failAfterBytes - written);
            }
            DWORD done = 0;
            if (!WriteFile(file_.get(), bytes.data() + written, static_cast<DWORD>(chunk), &done, nullptr) ||
                done == 0)
                return false;
            written += done;
        }
        return true;
    }

    // Flushed and closed; a failure of either means the bytes may not be on the disk.
    bool finish() {
        const bool flushed = FlushFileBuffers(file_.get()) != FALSE;
        return file_.close() && flushed;
    }

    bool replace(const std::wstring& target) {
        if (!MoveFileExW(path_.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            return false;
        path_.clear();
        return true;
    }

private:
    UniqueFile file_;
    std::wstring path_;
};

} // namespace

bool writeFileSafely(const std::wstring& fileName, std::span<const std::uint8_t> bytes) {
    return writeFileSafely(fileName, bytes, nullptr);
}

bool writeFileSafely(const std::wstring& fileName, std::span<const std::uint8_t> bytes,
                     const WriteFaults* faults) {
    if (fileName.empty()) return false;
    const std::optional<std::wstring> full = fullPathOf(fileName);
    // A name that ends in a separator names a folder, not a file.
    if (!full || full->empty() || full->back() == L'\\' || full->back() == L'/') return false;
    const std::wstring target = longForm(*full);

    TemporaryFile temporary;
    return temporary.create(target) && temporary.write(bytes, faults) && temporary.finish() &&
           temporary.replace(target);
}

} // namespace moyuan::win32
