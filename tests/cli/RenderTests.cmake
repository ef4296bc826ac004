# Tests of `varnex render` and `varnex bench`: option parsing, audio files,
# the block renderer, the demo song and the timing core in-process, and the
# built `varnex` end to end.

# A plug-in whose output the tests can predict (fixtures/RenderProbePlugin.cpp),
# and the same keeping its state as chunks, for preset files of every kind.
foreach(probe render_probe chunk_probe)
    add_library(varnex_${probe} SHARED
        ${CMAKE_CURRENT_SOURCE_DIR}/fixtures/RenderProbePlugin.cpp
        ${CMAKE_SOURCE_DIR}/plugin/ExportedMain.cpp
        ${CMAKE_SOURCE_DIR}/plugin/LoadHook.cpp
    )
    set_target_properties(varnex_${probe} PROPERTIES PREFIX ""
        LIBRARY_OUTPUT_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
    target_link_libraries(varnex_${probe} PRIVATE varnex_host)
    target_compile_options(varnex_${probe} PRIVATE -fvisibility=hidden)
    target_link_options(varnex_${probe} PRIVATE
        -Wl,--version-script=${CMAKE_SOURCE_DIR}/plugin/exports.map -Wl,--no-undefined)
endforeach()
set_target_properties(varnex_render_probe PROPERTIES OUTPUT_NAME RenderProbe)
set_target_properties(varnex_chunk_probe PROPERTIES OUTPUT_NAME ChunkProbe)
target_compile_definitions(varnex_chunk_probe PRIVATE RENDER_PROBE_CHUNKS)

set(VARNEX_RENDER_TEST_SOURCES
    ${CMAKE_CURRENT_SOURCE_DIR}/RenderOptionsTest.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/BenchTest.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/DemoSongTest.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/RenderTestSupport.cpp
)
if(VARNEX_HAVE_SNDFILE)
    list(APPEND VARNEX_RENDER_TEST_SOURCES
        ${CMAKE_CURRENT_SOURCE_DIR}/AudioFileTest.cpp
        ${CMAKE_CURRENT_SOURCE_DIR}/PluginRendererTest.cpp
        ${CMAKE_CURRENT_SOURCE_DIR}/AllocationCounter.cpp
        ${CMAKE_CURRENT_SOURCE_DIR}/RenderCommandTest.cpp
        ${CMAKE_CURRENT_SOURCE_DIR}/PresetFileTest.cpp
    )
endif()

# varnex snapshot and render --curve: the editor opened in-process.
if(VARNEX_HAVE_SNDFILE AND TARGET varnex_snapshot)
    varnex_add_test(snapshot_tests
        SOURCES
            ${CMAKE_CURRENT_SOURCE_DIR}/CurveOptionTest.cpp
            ${CMAKE_CURRENT_SOURCE_DIR}/SnapshotCommandTest.cpp
            ${CMAKE_CURRENT_SOURCE_DIR}/RenderTestSupport.cpp
            ${CMAKE_SOURCE_DIR}/tests/editor/ResourcePixels.cpp
        LIBRARIES varnex_cli_core varnex_test_support
        LABELS cli)
    target_include_directories(snapshot_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests/editor)
    add_dependencies(snapshot_tests varnex varnex_plugin)
    target_compile_definitions(snapshot_tests PRIVATE
        VARNEX_BINARY="$<TARGET_FILE:varnex>"
        VARNEX_PLUGIN="$<TARGET_FILE:varnex_plugin>"
        VARNEX_PRESETS="${CMAKE_SOURCE_DIR}/presets")
endif()

varnex_add_test(render_tests
    SOURCES ${VARNEX_RENDER_TEST_SOURCES}
    LIBRARIES varnex_cli_core varnex_test_support)
add_dependencies(render_tests varnex varnex_plugin varnex_render_probe varnex_chunk_probe)
target_compile_definitions(render_tests PRIVATE
    VARNEX_BINARY="$<TARGET_FILE:varnex>"
    VARNEX_PLUGIN="$<TARGET_FILE:varnex_plugin>"
    RENDER_PROBE_PLUGIN="$<TARGET_FILE:varnex_render_probe>"
    CHUNK_PROBE_PLUGIN="$<TARGET_FILE:varnex_chunk_probe>"
    $<$<OR:$<BOOL:${VARNEX_SANITIZE}>,$<BOOL:${VARNEX_TSAN}>>:VARNEX_SANITIZED>)
