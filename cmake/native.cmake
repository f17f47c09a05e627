# Native build of the byte-level code under AddressSanitizer and
# UndefinedBehaviorSanitizer.
enable_testing()
find_package(GTest REQUIRED)

set(ZORIVEN_SANITIZE -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)

add_library(zoriven_bytes STATIC ${ZORIVEN_BYTE_SOURCES})
target_include_directories(zoriven_bytes PUBLIC ${CMAKE_SOURCE_DIR})
target_compile_options(zoriven_bytes PUBLIC ${ZORIVEN_SANITIZE} -g)
target_compile_options(zoriven_bytes PRIVATE ${ZORIVEN_WARNINGS})
target_link_options(zoriven_bytes PUBLIC ${ZORIVEN_SANITIZE})

add_executable(test_bytes ${ZORIVEN_BYTE_TESTS})
target_link_libraries(test_bytes PRIVATE zoriven_bytes GTest::gtest_main)
add_test(NAME bytes_native COMMAND test_bytes)
