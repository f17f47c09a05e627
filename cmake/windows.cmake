enable_language(RC)
set(CMAKE_RC_FLAGS "${CMAKE_RC_FLAGS} -I${CMAKE_SOURCE_DIR}/res")

set(ZORIVEN_RC ${CMAKE_SOURCE_DIR}/res/zoriven.rc)
set_source_files_properties(${ZORIVEN_RC} PROPERTIES OBJECT_DEPENDS
  "${CMAKE_SOURCE_DIR}/res/resource.h;${CMAKE_SOURCE_DIR}/res/toolbar.bmp;${CMAKE_SOURCE_DIR}/res/rows.bmp;${CMAKE_SOURCE_DIR}/res/zoriven.ico;${CMAKE_SOURCE_DIR}/res/zoriven.manifest")

add_library(zoriven_core STATIC ${ZORIVEN_BYTE_SOURCES} ${ZORIVEN_WIN_SOURCES})
target_compile_options(zoriven_core PRIVATE ${ZORIVEN_WARNINGS})
target_include_directories(zoriven_core PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(zoriven_core PUBLIC
  comctl32 shell32 shlwapi wininet ole32 oleaut32 uuid comdlg32 gdi32 user32 advapi32 kernel32)

add_executable(zoriven WIN32 app/main.cpp ${ZORIVEN_RC})
target_compile_options(zoriven PRIVATE ${ZORIVEN_WARNINGS})
target_link_libraries(zoriven PRIVATE zoriven_core)

# Holds Wine's desktop open for a test session (see tools/wine-session).
add_executable(desktop_holder WIN32 tools/desktop_holder.c)

option(ZORIVEN_TESTS "Build the test programs" ON)
if(ZORIVEN_TESTS)
  enable_testing()
  add_subdirectory(tests)
endif()

# Benchmarks: run by hand (tools/bench.sh), never part of the tests.
add_executable(bench_folder bench/folder_bench.cpp ${ZORIVEN_RC})
target_compile_options(bench_folder PRIVATE ${ZORIVEN_WARNINGS})
target_link_libraries(bench_folder PRIVATE zoriven_core psapi)
add_executable(bench_copy bench/copy_bench.cpp ${ZORIVEN_RC})
target_compile_options(bench_copy PRIVATE ${ZORIVEN_WARNINGS})
target_link_libraries(bench_copy PRIVATE zoriven_core)
add_executable(bench_paste bench/paste_bench.cpp ${ZORIVEN_RC})
target_compile_options(bench_paste PRIVATE ${ZORIVEN_WARNINGS})
target_link_libraries(bench_paste PRIVATE zoriven_core)
