# The Windows adapters, the executable, and the tests that run them under Wine.

# Windows 7 SP1 is the floor: the headers offer nothing newer, and the PE header says so, so that
# an older Windows refuses the image at once instead of failing on a missing function.
add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601 WINVER=0x0601
                        _WIN32_IE=0x0800)
add_link_options(-Wl,--major-os-version,6,--minor-os-version,1
                 -Wl,--major-subsystem-version,6,--minor-subsystem-version,1)

file(GLOB WINDOWS_SOURCES CONFIGURE_DEPENDS
    src/app/*.cpp src/ui/*.cpp src/dialogs/*.cpp src/win/*.cpp)
list(FILTER WINDOWS_SOURCES EXCLUDE REGEX ".*/WinMain\\.cpp$")
add_library(vantrel_windows STATIC ${WINDOWS_SOURCES})
target_link_libraries(vantrel_windows PUBLIC vantrel_portable
    shell32 user32 gdi32 advapi32)
vantrel_warnings(vantrel_windows)

# Resources are linked as an object so that test executables carry the same templates.
add_library(vantrel_resources OBJECT src/res/monitor.rc)
target_include_directories(vantrel_resources PRIVATE src/res)
# CMake scans only the script's #includes: a changed manifest or icon must rebuild it too.
file(GLOB RESOURCE_INPUTS CONFIGURE_DEPENDS src/res/*.manifest src/res/*.ico)
set_source_files_properties(src/res/monitor.rc PROPERTIES OBJECT_DEPENDS "${RESOURCE_INPUTS}")

set(VANTREL_STATIC_LINK -static -static-libgcc -static-libstdc++)

add_executable(VantrelMonitor WIN32 src/app/WinMain.cpp $<TARGET_OBJECTS:vantrel_resources>)
target_link_libraries(VantrelMonitor PRIVATE vantrel_windows)
target_link_options(VantrelMonitor PRIVATE ${VANTREL_STATIC_LINK} -Wl,--gc-sections)
vantrel_warnings(VantrelMonitor)

if(VANTREL_WINE_TESTS)
    enable_testing()
    set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    add_subdirectory(${GOOGLETEST_SOURCE} googletest EXCLUDE_FROM_ALL)
    include(cmake/WineTests.cmake)
    add_subdirectory(tests/win)
    add_subdirectory(tests/e2e)
    # Built by scripts/bench when it measures, not by every test run.
    add_subdirectory(bench EXCLUDE_FROM_ALL)
    # Once, on the 64-bit build: its 64-bit LRESULT and size_t show truncations that 32 bits hide.
    if(CMAKE_SIZEOF_VOID_P EQUAL 8)
        mingw_clang_tidy_arguments(tidy_arguments)
        add_clang_tidy_test(clang_tidy_windows EXTRA_ARGS ${tidy_arguments}
            SOURCES ${WINDOWS_SOURCES} ${CMAKE_SOURCE_DIR}/src/app/WinMain.cpp)
    endif()
    # The portable rules on the target's own compiler, C runtime and 32-bit arithmetic.
    if(CMAKE_SIZEOF_VOID_P EQUAL 4)
        add_subdirectory(tests/unit)
    endif()
endif()

# Checks of the executable itself, without Wine. A new import may not exist on the floor.
enable_testing()
add_test(NAME exe_imports_listed
    COMMAND ${CMAKE_SOURCE_DIR}/cmake/check-imports.sh ${CMAKE_OBJDUMP}
            $<TARGET_FILE:VantrelMonitor> ${CMAKE_SOURCE_DIR}/cmake/imports.txt)
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    add_test(NAME exe_is_pe32_gui
        COMMAND ${CMAKE_SOURCE_DIR}/cmake/check-pe32-gui.sh ${CMAKE_OBJDUMP}
                $<TARGET_FILE:VantrelMonitor> ${CMAKE_SOURCE_DIR} ${CMAKE_BINARY_DIR})
endif()
