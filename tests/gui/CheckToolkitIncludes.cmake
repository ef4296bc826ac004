# Fails when a file of the toolkit includes anything but the project's own
# headers from the layers it may use (gui/, platform/) or a header of the
# C++ standard library: the toolkit reaches the operating system only
# through platform/, and the host only through its editor (FrameEditor).
#   cmake -DSOURCE_DIR=<repo>/gui -P CheckToolkitIncludes.cmake

set(standardHeaders
    algorithm array atomic cassert cmath cstddef cstdint cstdio cstdlib cstring
    functional iterator limits memory new numbers string string_view type_traits
    utility vector)

file(GLOB files "${SOURCE_DIR}/*.h" "${SOURCE_DIR}/*.cpp")
if(NOT files)
    message(FATAL_ERROR "no toolkit sources found in ${SOURCE_DIR}")
endif()
set(offences "")
foreach(file IN LISTS files)
    file(STRINGS "${file}" lines REGEX "^[ \t]*#[ \t]*include")
    foreach(line IN LISTS lines)
        if(line MATCHES "#[ \t]*include[ \t]*\"(gui|platform)/[A-Za-z]+\\.h\"")
            continue()
        endif()
        if(line MATCHES "#[ \t]*include[ \t]*<([a-z_]+)>")
            list(FIND standardHeaders "${CMAKE_MATCH_1}" found)
            if(NOT found EQUAL -1)
                continue()
            endif()
        endif()
        list(APPEND offences "${file}: ${line}")
    endforeach()
endforeach()
if(offences)
    list(JOIN offences "\n" report)
    message(FATAL_ERROR "toolkit includes outside its layers:\n${report}")
endif()
message(STATUS "toolkit includes: ok")
