# clang-tidy over the program's sources, with the checks in .clang-tidy, as one ctest entry per
# build: the portable files in the native build, the Windows files in the x86_64 MinGW build.
set(CMAKE_EXPORT_COMPILE_COMMANDS ON)
find_program(CLANG_TIDY NAMES clang-tidy-14 clang-tidy)

# A missing clang-tidy fails the test with a message instead of dropping it from the count.
function(add_clang_tidy_test name)
    cmake_parse_arguments(TIDY "" "" "SOURCES;EXTRA_ARGS" ${ARGN})
    list(TRANSFORM TIDY_EXTRA_ARGS PREPEND --extra-arg=)
    add_test(NAME ${name} COMMAND ${CMAKE_SOURCE_DIR}/cmake/clang-tidy.sh "${CLANG_TIDY}"
        ${CMAKE_BINARY_DIR} ${TIDY_EXTRA_ARGS} -- ${TIDY_SOURCES})
endfunction()

# Clang parses the sources as the MinGW compiler does only with help: its own search does not
# find Debian's MinGW libstdc++ (the GCC folder is named 12-posix, not a version) and adds the
# host's /usr/include. So the compiler's own folders are named instead, libstdc++ first and the
# MinGW headers after clang's built-in ones, and GCC's private folders under lib/gcc (its
# intrinsics, which clang cannot parse) are left out, clang's built-in headers standing in.
function(mingw_clang_tidy_arguments out)
    execute_process(COMMAND ${CMAKE_CXX_COMPILER} -dumpmachine
        OUTPUT_VARIABLE triple OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
    set(arguments --target=${triple} -nostdinc++ -nostdlibinc)
    foreach(dir IN LISTS CMAKE_CXX_IMPLICIT_INCLUDE_DIRECTORIES)
        if(dir MATCHES "/include/c\\+\\+")
            list(APPEND arguments -isystem${dir})
        elseif(NOT dir MATCHES "/lib/gcc/")
            list(APPEND arguments -idirafter${dir})
        endif()
    endforeach()
    set(${out} ${arguments} PARENT_SCOPE)
endfunction()
