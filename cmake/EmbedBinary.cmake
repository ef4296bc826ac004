# Turns binary files into a C++ source file of byte arrays, at build time,
# with nothing but CMake (so it works the same in cross builds).
#
# Script mode:
#   cmake -DOUTPUT=out.cpp -DHEADER=some/Header.h -DNAMESPACE=ns
#         -DENTRIES="symbol=path|symbol=path" -P EmbedBinary.cmake
# Each entry becomes `extern const unsigned char symbol[]` and
# `extern const std::size_t symbolSize` inside the namespace.

if(NOT OUTPUT OR NOT ENTRIES)
    message(FATAL_ERROR "EmbedBinary.cmake needs OUTPUT and ENTRIES")
endif()

string(REPLACE "|" ";" ENTRIES "${ENTRIES}")

set(body "// Generated at build time from binary files; do not edit.\n")
if(HEADER)
    string(APPEND body "#include \"${HEADER}\"\n")
endif()
string(APPEND body "#include <cstddef>\n\n")
if(NAMESPACE)
    string(APPEND body "namespace ${NAMESPACE} {\n\n")
endif()

foreach(entry IN LISTS ENTRIES)
    string(REPLACE "=" ";" parts "${entry}")
    list(GET parts 0 symbol)
    list(GET parts 1 path)
    file(READ "${path}" hex HEX)
    string(LENGTH "${hex}" hexLength)
    math(EXPR byteCount "${hexLength} / 2")
    string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
    string(APPEND body "extern const unsigned char ${symbol}[];\n")
    string(APPEND body "const unsigned char ${symbol}[] = {\n    ${bytes}\n};\n")
    string(APPEND body "extern const std::size_t ${symbol}Size;\n")
    string(APPEND body "const std::size_t ${symbol}Size = ${byteCount};\n\n")
endforeach()

if(NAMESPACE)
    string(APPEND body "} // namespace ${NAMESPACE}\n")
endif()

# Only touch the output when it changes, so dependants do not rebuild.
set(previous "")
if(EXISTS "${OUTPUT}")
    file(READ "${OUTPUT}" previous)
endif()
if(NOT previous STREQUAL body)
    file(WRITE "${OUTPUT}" "${body}")
endif()
