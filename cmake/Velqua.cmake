# Project-wide helpers: one static library per source folder, one test
# executable per module test file.

set(VELQUA_WARNINGS -Wall -Wextra -Werror)

# FFmpeg and SDL headers give types only: the libraries are bound at run time,
# so nothing of them is ever linked.
find_package(PkgConfig REQUIRED)
pkg_check_modules(FFMPEG_HEADERS REQUIRED libavcodec libavformat libavutil libswscale
                  libswresample libavfilter libavdevice)
pkg_check_modules(SDL_HEADERS REQUIRED sdl)
add_library(velqua_media_headers INTERFACE)
target_include_directories(velqua_media_headers SYSTEM INTERFACE
                           ${FFMPEG_HEADERS_INCLUDE_DIRS} ${SDL_HEADERS_INCLUDE_DIRS})
# FFmpeg's headers need the C99 constant macros in C++.
target_compile_definitions(velqua_media_headers INTERFACE __STDC_CONSTANT_MACROS)

# velqua_library(<name> DEPS <targets...>): every .cpp of the calling folder.
function(velqua_library name)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  add_library(${name} STATIC ${sources})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_compile_options(${name} PRIVATE ${VELQUA_WARNINGS})
  target_link_libraries(${name} PUBLIC ${ARG_DEPS})
endfunction()

# Tests on an X display run on one of their own where Xvfb is installed
# (run_on_display.sh), so that no two of them, in one ctest run or in
# several, can race for a display, and one that then cannot open its display
# fails. Without Xvfb they skip, and CTest shows them skipped: their message
# for it starts "No X display" or "Cannot open the X display".
find_program(XVFB_PROGRAM Xvfb)
set(VELQUA_NO_DISPLAY "No X display|Cannot open the X display")

# What every test's environment holds besides its own: in the sanitizer build,
# LeakSanitizer's list of the system libraries' leaks it leaves out.
set(VELQUA_TEST_ENVIRONMENT)
if(VELQUA_ASAN)
  set(VELQUA_TEST_ENVIRONMENT "LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/cmake/lsan.supp:print_suppressions=0")
endif()

# velqua_tests(<prefix> LIBS <targets...> [FIXTURES <names...>]
# [DISPLAY <modules...>]): one executable per *_test.cpp of the calling
# folder, each a CTest test named <prefix>_<module> that requires the CTest
# fixtures named; those of the DISPLAY modules run on an X display. Files in
# the folder without the _test suffix are shared fixtures linked into each.
function(velqua_tests prefix)
  cmake_parse_arguments(ARG "" "" "LIBS;LABELS;FIXTURES;DISPLAY" ${ARGN})
  file(GLOB tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*_test.cpp)
  file(GLOB all CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  set(support ${all})
  if(tests)
    list(REMOVE_ITEM support ${tests})
  endif()
  # The shared fixtures are compiled once for the folder, not once per test.
  set(support_lib)
  if(support)
    set(support_lib ${prefix}_testsupport)
    add_library(${support_lib} STATIC ${support})
    target_include_directories(${support_lib} PUBLIC ${PROJECT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR})
    target_compile_options(${support_lib} PRIVATE ${VELQUA_WARNINGS})
    target_link_libraries(${support_lib} PUBLIC ${ARG_LIBS} GTest::gtest GTest::gmock)
  endif()
  foreach(test ${tests})
    get_filename_component(module ${test} NAME_WE)
    set(target ${prefix}_${module})
    add_executable(${target} ${test})
    target_include_directories(${target} PRIVATE ${PROJECT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR})
    target_compile_options(${target} PRIVATE ${VELQUA_WARNINGS})
    target_link_libraries(${target} PRIVATE ${support_lib} ${ARG_LIBS} GTest::gtest_main GTest::gmock)
    if(NOT module IN_LIST ARG_DISPLAY)
      add_test(NAME ${target} COMMAND ${target})
    else()
      if(XVFB_PROGRAM)
        add_test(NAME ${target} COMMAND sh ${PROJECT_SOURCE_DIR}/cmake/run_on_display.sh ${XVFB_PROGRAM}
                                        $<TARGET_FILE:${target}>)
      else()
        add_test(NAME ${target} COMMAND ${target})
      endif()
      set_tests_properties(${target} PROPERTIES SKIP_REGULAR_EXPRESSION "${VELQUA_NO_DISPLAY}")
    endif()
    # Each test program writes its files in a folder of its own, so programs
    # running side by side, in this build or another, never share one.
    set(tmpdir ${PROJECT_BINARY_DIR}/testtmp/${target})
    file(MAKE_DIRECTORY ${tmpdir})
    set(environment VELQUA_TEST_DATA=${PROJECT_BINARY_DIR}/testdata TEST_TMPDIR=${tmpdir} ${VELQUA_TEST_ENVIRONMENT})
    set_tests_properties(${target} PROPERTIES TIMEOUT 300 ENVIRONMENT "${environment}")
    if(ARG_LABELS)
      set_tests_properties(${target} PROPERTIES LABELS "${ARG_LABELS}")
    endif()
    if(ARG_FIXTURES)
      set_tests_properties(${target} PROPERTIES FIXTURES_REQUIRED "${ARG_FIXTURES}")
    endif()
  endforeach()
endfunction()

# velqua_media_fixtures(<fixture>): a CTest test that makes the media files of
# tests/media/make_fixtures.sh in <build>/testdata once per run, as the CTest
# fixture <fixture> that media tests require.
function(velqua_media_fixtures fixture)
  find_program(FFMPEG_PROGRAM ffmpeg REQUIRED)
  add_test(NAME ${fixture}
           COMMAND ${PROJECT_SOURCE_DIR}/tests/media/make_fixtures.sh ${PROJECT_BINARY_DIR}/testdata
                   ${FFMPEG_PROGRAM})
  set_tests_properties(${fixture} PROPERTIES FIXTURES_SETUP ${fixture} TIMEOUT 300)
endfunction()
