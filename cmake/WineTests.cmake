# One ctest entry per Wine executable: a Wine process start costs seconds. A fixture creates the
# throwaway prefix once (parallel lazy creation breaks it) and stops its wineserver at the end.
set(WINE_ENV ${CMAKE_SOURCE_DIR}/cmake/wine-env.sh)
set(WINE_STATE ${CMAKE_BINARY_DIR}/wine)
set(STANDIN_DIR ${CMAKE_BINARY_DIR}/standins)

add_test(NAME wine_setup COMMAND ${WINE_ENV} ${WINE_STATE} setup)
set_tests_properties(wine_setup PROPERTIES FIXTURES_SETUP wine)
add_test(NAME wine_teardown COMMAND ${WINE_ENV} ${WINE_STATE} teardown)
set_tests_properties(wine_teardown PROPERTIES FIXTURES_CLEANUP wine)

function(add_wine_test target)
    add_test(NAME ${target} COMMAND ${WINE_ENV} ${WINE_STATE} run $<TARGET_FILE:${target}>
        --gtest_output=xml:Z:${CMAKE_BINARY_DIR}/results/${target}.xml)
    set_tests_properties(${target} PROPERTIES FIXTURES_REQUIRED wine RESOURCE_LOCK wine_desktop
        TIMEOUT 1200)
endfunction()

function(add_wine_gtest_executable target)
    add_executable(${target} ${ARGN})
    target_link_libraries(${target} PRIVATE gtest gtest_main)
    target_link_options(${target} PRIVATE ${VANTREL_STATIC_LINK})
    vantrel_warnings(${target})
endfunction()
