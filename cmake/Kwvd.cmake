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
  # A test is listed under its GoogleTest name: by default a value-parameterised
  # case also carries the printed parameter, which may be long, may hold
  # pointer bytes that differ from one listing to the next and is no valid
  # pattern for ctest -R.
  gtest_discover_tests(${target}
    NO_PRETTY_VALUES
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 60
    PROPERTIES TIMEOUT 300)
endfunction()

# kwvd_add_fuzz_target(<target> SOURCES <files>... LINK <libs>... [SEEDS <folder>])
# A reader of outside data driven by one LLVMFuzzerTestOneInput. With
# KWVD_FUZZ: a libFuzzer program. Otherwise (with the tests): a plain program
# of the same source and our replay main, run by CTest once per committed
# seed file (default folder: seeds/<target> beside the caller), so every seed
# stays a regression case and the target keeps compiling.
function(kwvd_add_fuzz_target target)
  cmake_parse_arguments(ARG "" "SEEDS" "SOURCES;LINK" ${ARGN})
  if(NOT ARG_SEEDS)
    set(ARG_SEEDS "${CMAKE_CURRENT_SOURCE_DIR}/seeds/${target}")
  endif()
  if(KWVD_FUZZ)
    add_executable(${target} ${ARG_SOURCES})
    target_link_options(${target} PRIVATE -fsanitize=fuzzer)
  elseif(KWVD_BUILD_TESTS)
    add_executable(${target} ${ARG_SOURCES} "${CMAKE_SOURCE_DIR}/tests/fuzz/FuzzReplayMain.cpp")
  else()
    return()
  endif()
  target_include_directories(${target} PRIVATE "${CMAKE_SOURCE_DIR}")
  target_link_libraries(${target} PRIVATE ${ARG_LINK})
  if(KWVD_FUZZ)
    return()
  endif()
  file(GLOB seeds CONFIGURE_DEPENDS "${ARG_SEEDS}/*")
  if(NOT seeds)
    message(FATAL_ERROR "${target}: no seed files in ${ARG_SEEDS}")
  endif()
  foreach(seed IN LISTS seeds)
    get_filename_component(seed_name "${seed}" NAME)
    add_test(NAME fuzz.${target}.${seed_name}
             COMMAND /usr/bin/env ${KWVD_TEST_ENV} $<TARGET_FILE:${target}> "${seed}")
    set_tests_properties(fuzz.${target}.${seed_name} PROPERTIES TIMEOUT 120 LABELS fuzz)
  endforeach()
endfunction()
