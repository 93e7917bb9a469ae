# Writes a C++ source that holds the bytes of INPUT, returned by the function FUNCTION.
# Usage: cmake -DINPUT=... -DOUTPUT=... -DFUNCTION=... -DHEADER=... -P embed_file.cmake
file(READ "${INPUT}" hex HEX)
string(LENGTH "${hex}" hexLength)
math(EXPR size "${hexLength} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string(REGEX REPLACE "((0x..,){24})" "\\1\n    " bytes "${bytes}")
file(WRITE "${OUTPUT}.tmp"
"// Generated from ${INPUT} at build time.\n#include \"${HEADER}\"\n\nnamespace moyuan {\n\n"
"namespace {\nconst std::uint8_t kBytes[${size}] = {\n    ${bytes}\n};\n} // namespace\n\n"
"std::span<const std::uint8_t> ${FUNCTION}() { return kBytes; }\n\n} // namespace moyuan\n")
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.tmp")
