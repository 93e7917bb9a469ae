// Writing a whole file so that a failure never leaves a partial one behind.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace moyuan::win32 {

// Writes the bytes to the file so that a failure never leaves a partial file: they go to a
// temporary file in the same folder (exclusive access while open), are flushed, and only then
// replace the target. On any failure the old file is untouched, no temporary file remains,
// and the result is false. An empty name is a failure. Relative names resolve against the
// current directory.
bool writeFileSafely(const std::wstring& fileName, std::span<const std::uint8_t> bytes);

// Failures to stage on purpose, so that tests can reach the paths that real disks rarely take.
struct WriteFaults {
    // Writing to the temporary file fails as soon as this many bytes are in it and more are to
    // come.
    std::size_t failAfterBytes = SIZE_MAX;
};

// The same, with the given faults staged (none when `faults` is null).
bool writeFileSafely(const std::wstring& fileName, std::span<const std::uint8_t> bytes,
                     const WriteFaults* faults);

} // namespace moyuan::win32
