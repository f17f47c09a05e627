# Native build of the byte-level code under AddressSanitizer and
# UndefinedBehaviorSanitizer.
set(ZORIVEN_SANITIZE -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)

# A clang build with -DZORIVEN_FUZZ=ON makes only the libFuzzer target.
option(ZORIVEN_FUZZ "Build the libFuzzer target (clang)" OFF)
if(ZORIVEN_FUZZ)
  add_executable(fuzz_bytes bench/fuzz_bytes.cpp ${ZORIVEN_BYTE_SOURCES})
  target_include_directories(fuzz_bytes PRIVATE ${CMAKE_SOURCE_DIR})
  target_compile_options(fuzz_bytes PRIVATE -fsanitize=fuzzer,address,undefined -g -O1)
  target_link_options(fuzz_bytes PRIVATE -fsanitize=fuzzer,address,undefined)
  return()
endif()

enable_testing()
find_package(GTest REQUIRED)

add_library(zoriven_bytes STATIC ${ZORIVEN_BYTE_SOURCES})
target_include_directories(zoriven_bytes PUBLIC ${CMAKE_SOURCE_DIR})
target_compile_options(zoriven_bytes PUBLIC ${ZORIVEN_SANITIZE} -g)
target_compile_options(zoriven_bytes PRIVATE ${ZORIVEN_WARNINGS})
target_link_options(zoriven_bytes PUBLIC ${ZORIVEN_SANITIZE})

add_executable(test_bytes ${ZORIVEN_BYTE_TESTS})
target_link_libraries(test_bytes PRIVATE zoriven_bytes GTest::gtest_main)
add_test(NAME bytes_native COMMAND test_bytes)

# Title benchmark: run by hand (build/native/bench_title), never a test.
# Optimised and without sanitizers, so that its figures mean something.
add_executable(bench_title bench/title_bench.cpp ${ZORIVEN_BYTE_SOURCES})
target_include_directories(bench_title PRIVATE ${CMAKE_SOURCE_DIR})
target_compile_options(bench_title PRIVATE -O2 ${ZORIVEN_WARNINGS})
