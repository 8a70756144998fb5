# Helpers shared by every folder of the project.
#
# A folder is one library (or program); its sources are the .cpp files of the
# folder itself and its tests the .cpp files of its tests/ subfolder.

set(KWVD_TEST_ENV
  "QT_QPA_PLATFORM=offscreen"
  "KWVD_LIBRARY_PATH=${CMAKE_LIBRARY_OUTPUT_DIRECTORY}"
  "LSAN_OPTIONS=suppressions=${CMAKE_SOURCE_DIR}/tests/lsan.supp:print_suppressions=0"
  "UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1"
)

# kwvd_add_library(<target> [SHARED|STATIC] [LINK <libs>...])
function(kwvd_add_library target)
  cmake_parse_arguments(ARG "SHARED;STATIC" "" "LINK" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS "${CMAKE_CURRENT_SOURCE_DIR}/*.cpp")
  file(GLOB headers CONFIGURE_DEPENDS "${CMAKE_CURRENT_SOURCE_DIR}/*.h")
  set(kind SHARED)
  if(ARG_STATIC)
    set(kind STATIC)
  endif()
  add_library(${target} ${kind} ${sources} ${headers})
  target_include_directories(${target} PUBLIC "${CMAKE_SOURCE_DIR}")
  if(ARG_LINK)
    target_link_libraries(${target} PUBLIC ${ARG_LINK})
  endif()
endfunction()

# kwvd_add_tests(<target> [DIR <folder>] LINK <libs>...): one GoogleTest program
# from <folder>/tests/*.cpp (default: this folder), each test case registered
# with CTest.
function(kwvd_add_tests target)
  if(NOT KWVD_BUILD_TESTS)
    return()
  endif()
  cmake_parse_arguments(ARG "" "DIR" "LINK" ${ARGN})
  if(NOT ARG_DIR)
    set(ARG_DIR "${CMAKE_CURRENT_SOURCE_DIR}")
  endif()
  file(GLOB sources CONFIGURE_DEPENDS "${ARG_DIR}/tests/*.cpp")
  if(NOT sources)
    return()
  endif()
  add_executable(${target} ${sources})
  target_link_libraries(${target} PRIVATE ${ARG_LINK} GTest::gtest GTest::gmock GTest::gtest_main)
  target_include_directories(${target} PRIVATE "${CMAKE_SOURCE_DIR}")
  target_compile_definitions(${target} PRIVATE
    KWVD_SOURCE_DIR="${CMAKE_SOURCE_DIR}"
    KWVD_TEST_DATA_DIR="${ARG_DIR}/tests/data"
    KWVD_SCREENSHOT_DIR="${CMAKE_BINARY_DIR}/screenshots")
  # Every test runs (and is listed) through env with the test environment:
  # a list-valued ENVIRONMENT property does not survive gtest_discover_tests.
  set_property(TARGET ${target} PROPERTY CROSSCOMPILING_EMULATOR /usr/bin/env ${KWVD_TEST_ENV})
  gtest_discover_tests(${target}
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 60
    PROPERTIES TIMEOUT 300)
endfunction()
