# FFTW 3 for the Windows cross builds: Debian ships it for Linux only, so
# scripts/mingw-deps.sh cross-builds it from Debian's source package into
# build/mingw-deps/<processor> (or VARNEX_MINGW_DEPS/<processor>). Defines
# the imported target varnex_mingw_fftw3 when that prefix has it; without
# it the build goes on and leaves `varnex analyze` out.
set(VARNEX_MINGW_DEPS "${CMAKE_SOURCE_DIR}/build/mingw-deps" CACHE PATH
    "Where scripts/mingw-deps.sh installed the cross-built libraries")
set(_varnex_fftw_prefix "${VARNEX_MINGW_DEPS}/${CMAKE_SYSTEM_PROCESSOR}")
if(EXISTS "${_varnex_fftw_prefix}/include/fftw3.h" AND EXISTS "${_varnex_fftw_prefix}/lib/libfftw3.a")
    add_library(varnex_mingw_fftw3 STATIC IMPORTED)
    set_target_properties(varnex_mingw_fftw3 PROPERTIES
        IMPORTED_LOCATION "${_varnex_fftw_prefix}/lib/libfftw3.a"
        INTERFACE_INCLUDE_DIRECTORIES "${_varnex_fftw_prefix}/include")
    message(STATUS "FFTW 3 for ${CMAKE_SYSTEM_PROCESSOR}: ${_varnex_fftw_prefix}")
else()
    message(STATUS "FFTW 3 for ${CMAKE_SYSTEM_PROCESSOR} not in ${_varnex_fftw_prefix} "
                   "(scripts/mingw-deps.sh builds it)")
endif()
