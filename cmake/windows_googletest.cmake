# GoogleTest built for Windows from the system's sources, once for every Windows test program.
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
foreach(target gtest gtest_main)
    # Third-party code: our warning flags are not its business. Only the tests run it, and -O1
    # builds it in two thirds of the preset's -O3 time.
    set_property(TARGET ${target} PROPERTY COMPILE_OPTIONS -O1)
endforeach()
include(GoogleTest)
