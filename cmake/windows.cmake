enable_language(RC)
set(CMAKE_RC_FLAGS "${CMAKE_RC_FLAGS} -I${CMAKE_SOURCE_DIR}/res")

set(ZORIVEN_RC ${CMAKE_SOURCE_DIR}/res/zoriven.rc)
set(ZORIVEN_RC_INPUTS
  "${CMAKE_SOURCE_DIR}/res/resource.h;${CMAKE_SOURCE_DIR}/res/toolbar.bmp;${CMAKE_SOURCE_DIR}/res/rows.bmp;${CMAKE_SOURCE_DIR}/res/zoriven.ico;${CMAKE_SOURCE_DIR}/res/zoriven.manifest")
set_source_files_properties(${ZORIVEN_RC} PROPERTIES OBJECT_DEPENDS "${ZORIVEN_RC_INPUTS}")

add_library(zoriven_core STATIC ${ZORIVEN_BYTE_SOURCES} ${ZORIVEN_WIN_SOURCES})
target_compile_options(zoriven_core PRIVATE ${ZORIVEN_WARNINGS})
target_include_directories(zoriven_core PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(zoriven_core PUBLIC
  comctl32 shell32 shlwapi wininet ole32 oleaut32 uuid comdlg32 gdi32 user32 advapi32 kernel32)

add_executable(zoriven WIN32 app/main.cpp ${ZORIVEN_RC})
target_compile_options(zoriven PRIVATE ${ZORIVEN_WARNINGS})
target_link_libraries(zoriven PRIVATE zoriven_core)

# The help file ZORIVEN.CHM beside the program: the pages of res/help in
# Shift_JIS with the pictures of docs, compiled by chmcmd (fp-utils) and
# checked before and after by tools/help.py, which fails the build on a
# missing page, picture, link target or context id.
find_program(ZORIVEN_PYTHON3 python3 REQUIRED)
find_program(ZORIVEN_CHMCMD chmcmd)
find_program(ZORIVEN_CHMLS chmls)
if(NOT ZORIVEN_CHMCMD OR NOT ZORIVEN_CHMLS)
  message(FATAL_ERROR "chmcmd and chmls (Debian package fp-utils) build the help file: run tools/install-deps.sh")
endif()
file(GLOB ZORIVEN_HELP_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/res/help/*)
file(GLOB ZORIVEN_HELP_PICTURES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/docs/*.png)
set(ZORIVEN_CHM ${CMAKE_BINARY_DIR}/ZORIVEN.CHM)
add_custom_command(OUTPUT ${ZORIVEN_CHM}
  COMMAND ${ZORIVEN_PYTHON3} ${CMAKE_SOURCE_DIR}/tools/help.py build
          ${CMAKE_SOURCE_DIR}/res/help ${CMAKE_SOURCE_DIR}/docs ${CMAKE_SOURCE_DIR}/res/resource.h
          ${CMAKE_BINARY_DIR}/help ${ZORIVEN_CHM}
  DEPENDS ${ZORIVEN_HELP_SOURCES} ${ZORIVEN_HELP_PICTURES} ${CMAKE_SOURCE_DIR}/res/resource.h
          ${CMAKE_SOURCE_DIR}/tools/help.py
  COMMENT "Building the help file ZORIVEN.CHM"
  VERBATIM)
add_custom_target(zoriven_help ALL DEPENDS ${ZORIVEN_CHM})

# Holds Wine's desktop open for a test session (see tools/wine-session).
add_executable(desktop_holder WIN32 tools/desktop_holder.c)
# Drives the program and finds its windows for the pictures (tools/make-screenshots.sh).
add_executable(shot_driver tools/shot_driver.c)

option(ZORIVEN_TESTS "Build the test programs" ON)
if(ZORIVEN_TESTS)
  enable_testing()
  add_subdirectory(tests)
endif()

# Benchmarks: run by hand (tools/bench.sh), never part of the tests.
foreach(bench folder cache copy paste search hotkey history)
  add_executable(bench_${bench} bench/${bench}_bench.cpp ${ZORIVEN_RC})
  target_compile_options(bench_${bench} PRIVATE ${ZORIVEN_WARNINGS})
  target_link_libraries(bench_${bench} PRIVATE zoriven_core)
endforeach()
target_link_libraries(bench_folder PRIVATE psapi)   # its memory figures
