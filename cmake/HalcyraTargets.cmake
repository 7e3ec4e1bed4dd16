# Helpers shared by every subsystem folder.

# Warnings are errors on every toolchain.
function(halcyra_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor
                                             -Wold-style-cast -Wcast-align -Woverloaded-virtual -Werror)
endfunction()

# A portable library: standard C++ only, built by every toolchain. The Windows builds prove it:
# there, <windows.h> resolves to a header that stops the compilation.
function(halcyra_core_library target)
    add_library(${target} STATIC ${ARGN})
    target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR})
    if(WIN32)
        target_include_directories(${target} BEFORE PRIVATE ${PROJECT_SOURCE_DIR}/cmake/portable)
    endif()
    halcyra_warnings(${target})
endfunction()

# A Win32 adapter library: only in the Windows builds.
function(halcyra_win32_library target)
    add_library(${target} STATIC ${ARGN})
    target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR})
    halcyra_warnings(${target})
endfunction()

# A GoogleTest program. Native ones run directly; Windows ones run under Wine through the
# cross-compiling emulator. Test cases are listed at test time, when the Wine bench is up.
#   halcyra_test(NAME name SOURCES ... LIBS ... [LABELS ...] [TIMEOUT seconds])
function(halcyra_test)
    cmake_parse_arguments(T "" "NAME;TIMEOUT" "SOURCES;LIBS;LABELS" ${ARGN})
    if(NOT T_TIMEOUT)
        set(T_TIMEOUT 60)
    endif()
    add_executable(${T_NAME} ${T_SOURCES})
    target_include_directories(${T_NAME} PRIVATE ${PROJECT_SOURCE_DIR})
    halcyra_warnings(${T_NAME})
    target_link_libraries(${T_NAME} PRIVATE halcyra_test_support)
    if(WIN32)
        target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} gmock gtest_main)
        set(labels wine ${T_LABELS})
    else()
        target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} GTest::gmock GTest::gtest_main)
        set(labels native ${T_LABELS})
    endif()
    gtest_discover_tests(${T_NAME} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120
                         PROPERTIES LABELS "${labels}" TIMEOUT ${T_TIMEOUT})
endfunction()
