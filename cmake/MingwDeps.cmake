# The libraries of the Windows cross builds that Debian ships for Linux
# only: scripts/mingw-deps.sh cross-builds them from Debian's source
# packages into build/mingw-deps/<processor> (or VARNEX_MINGW_DEPS/
# <processor>). Defines the imported targets varnex_mingw_fftw3 and
# varnex_mingw_png (libpng with Debian's mingw zlib) for what that prefix
# has; without them the build goes on and leaves out what needs them.
include_guard(GLOBAL)
set(VARNEX_MINGW_DEPS "${CMAKE_SOURCE_DIR}/build/mingw-deps" CACHE PATH
    "Where scripts/mingw-deps.sh installed the cross-built libraries")
set(_varnex_deps_prefix "${VARNEX_MINGW_DEPS}/${CMAKE_SYSTEM_PROCESSOR}")

if(EXISTS "${_varnex_deps_prefix}/include/fftw3.h" AND EXISTS "${_varnex_deps_prefix}/lib/libfftw3.a")
    add_library(varnex_mingw_fftw3 STATIC IMPORTED GLOBAL)
    set_target_properties(varnex_mingw_fftw3 PROPERTIES
        IMPORTED_LOCATION "${_varnex_deps_prefix}/lib/libfftw3.a"
        INTERFACE_INCLUDE_DIRECTORIES "${_varnex_deps_prefix}/include")
    message(STATUS "FFTW 3 for ${CMAKE_SYSTEM_PROCESSOR}: ${_varnex_deps_prefix}")
else()
    message(STATUS "FFTW 3 for ${CMAKE_SYSTEM_PROCESSOR} not in ${_varnex_deps_prefix} "
                   "(scripts/mingw-deps.sh builds it)")
endif()

# zlib by its static archive: beside it lies an import library of the DLL,
# which a plain -lz would pick.
find_file(VARNEX_MINGW_ZLIB libz.a PATHS "/usr/${CMAKE_SYSTEM_PROCESSOR}-w64-mingw32/lib"
          NO_DEFAULT_PATH)
if(EXISTS "${_varnex_deps_prefix}/include/png.h" AND EXISTS "${_varnex_deps_prefix}/lib/libpng16.a"
   AND VARNEX_MINGW_ZLIB)
    add_library(varnex_mingw_png STATIC IMPORTED GLOBAL)
    set_target_properties(varnex_mingw_png PROPERTIES
        IMPORTED_LOCATION "${_varnex_deps_prefix}/lib/libpng16.a"
        INTERFACE_INCLUDE_DIRECTORIES "${_varnex_deps_prefix}/include"
        INTERFACE_LINK_LIBRARIES "${VARNEX_MINGW_ZLIB}")
    message(STATUS "libpng for ${CMAKE_SYSTEM_PROCESSOR}: ${_varnex_deps_prefix}")
else()
    message(STATUS "libpng for ${CMAKE_SYSTEM_PROCESSOR} not in ${_varnex_deps_prefix} or no "
                   "libz-mingw-w64-dev (scripts/install-deps.sh installs both)")
endif()
