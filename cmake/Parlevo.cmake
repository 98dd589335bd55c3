# Project-wide compile settings and helpers for tests.

add_library(parlevo_options INTERFACE)
target_include_directories(parlevo_options INTERFACE ${PROJECT_SOURCE_DIR})
target_compile_options(parlevo_options INTERFACE -Wall -Wextra -Wshadow -Wno-missing-field-initializers)

if(PARLEVO_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
    add_link_options(-fsanitize=address,undefined)
endif()

# parlevo_test(<name> SOURCES ... LIBS ... [ARGS ...] [WINDOWS])
# One test executable, one CTest test. WINDOWS links the program's resources and the
# window-test harness, so the test can create the real frame and view windows.
function(parlevo_test name)
    cmake_parse_arguments(ARG "WINDOWS" "TIMEOUT" "SOURCES;LIBS;LABELS;ARGS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE parlevo_options ${ARG_LIBS} GTest::gtest GTest::gtest_main)
    if(ARG_WINDOWS)
        target_sources(${name} PRIVATE $<TARGET_OBJECTS:parlevo_res>)
        target_link_libraries(${name} PRIVATE parlevo_winharness)
        set_target_properties(${name} PROPERTIES WIN32_EXECUTABLE OFF)
    endif()
    if(WIN32)
        set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
    endif()
    add_test(NAME ${name} COMMAND ${name} ${ARG_ARGS})
    if(NOT ARG_TIMEOUT)
        set(ARG_TIMEOUT 120)
    endif()
    set_tests_properties(${name} PROPERTIES TIMEOUT ${ARG_TIMEOUT} LABELS "${ARG_LABELS}")
endfunction()
