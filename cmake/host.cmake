# Host build: the text core with its unit tests under the sanitizers, the
# Windows programs through the cross compilers, and every test tier in ctest.
include(ExternalProject)
enable_testing()

set(TESSEL_SANITIZE -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
add_compile_options(-Wall -Wextra)

add_library(text_core STATIC ${SETUP_TEXT_SOURCES} ${UNINSTALL_TEXT_SOURCES} ${PACK_TEXT_SOURCES})
target_include_directories(text_core PUBLIC ${CMAKE_SOURCE_DIR})
target_compile_options(text_core PUBLIC ${TESSEL_SANITIZE})
target_link_options(text_core PUBLIC ${TESSEL_SANITIZE})

# The checker under the sanitizers for scriptcheck, whose tests run here.
add_library(checker STATIC ${CHECKER_SOURCES})
target_link_libraries(checker PUBLIC text_core)
add_executable(scriptcheck ${CMAKE_SOURCE_DIR}/scriptcheck/main.cpp)
target_link_libraries(scriptcheck PRIVATE checker)

# tesselpack for Linux ships beside setup.exe in dist/, which it copies to
# the media it writes; optimised and without the sanitizers' cost, so it
# links the checker built a second time that way.
set(TESSEL_DIST ${CMAKE_BINARY_DIR}/dist)
add_library(checker_optimised STATIC ${CHECKER_SOURCES} ${SETUP_TEXT_SOURCES} ${CHECKER_UNINSTALL_SOURCES})
target_include_directories(checker_optimised PUBLIC ${CMAKE_SOURCE_DIR})
target_compile_options(checker_optimised PRIVATE -O2)
add_executable(tesselpack ${PACK_SOURCES} ${PACK_TEXT_SOURCES})
target_link_libraries(tesselpack PRIVATE checker_optimised)
target_compile_options(tesselpack PRIVATE -O2)
set_target_properties(tesselpack PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${TESSEL_DIST})

find_package(GTest REQUIRED)
include(GoogleTest)
file(GLOB HOST_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/host/*_test.cpp)
add_executable(host_tests ${HOST_TESTS})
target_link_libraries(host_tests PRIVATE text_core GTest::gtest_main)
target_compile_definitions(host_tests PRIVATE TESSEL_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
gtest_discover_tests(host_tests TEST_PREFIX "host." DISCOVERY_TIMEOUT 30)

# ------------------------------------------------------ Windows programs ---
# The deliverables are always built for 32-bit Windows into dist/. The test
# tiers run under Wine; where this machine's kernel cannot execute 32-bit
# code, Wine runs 64-bit programs only, and the same sources are built a
# second time for 64-bit Windows to be tested there.
set(TESSEL_TEST_ARCH "i686" CACHE STRING "Architecture of the programs that the Wine tiers run (i686 or x86_64)")

function(tessel_windows_build arch)
  ExternalProject_Add(windows-${arch}
    SOURCE_DIR ${CMAKE_SOURCE_DIR}
    BINARY_DIR ${CMAKE_BINARY_DIR}/windows-${arch}
    CMAKE_ARGS -DCMAKE_TOOLCHAIN_FILE=${CMAKE_SOURCE_DIR}/cmake/toolchain-${arch}.cmake
               -DCMAKE_BUILD_TYPE=Release
    CMAKE_GENERATOR ${CMAKE_GENERATOR}
    BUILD_ALWAYS ON
    INSTALL_COMMAND ""
    USES_TERMINAL_BUILD ON)
endfunction()

tessel_windows_build(i686)
set(I686_DIR ${CMAKE_BINARY_DIR}/windows-i686)
# The stripped programs go into dist/, their debugging information into
# symbols/ beside it, for reading crash addresses.
set(TESSEL_SYMBOLS ${CMAKE_BINARY_DIR}/symbols)
set(dist_copies)
foreach(program setup.exe Unskein.exe starter.exe scriptcheck.exe tesselpack.exe)
  list(APPEND dist_copies
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${I686_DIR}/${program} ${TESSEL_DIST}/
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${I686_DIR}/${program}.debug ${TESSEL_SYMBOLS}/)
endforeach()
add_custom_target(dist ALL
  COMMAND ${CMAKE_COMMAND} -E make_directory ${TESSEL_DIST} ${TESSEL_SYMBOLS}
  ${dist_copies}
  DEPENDS windows-i686
  COMMENT "Collecting the 32-bit programs in ${TESSEL_DIST}"
  VERBATIM)

# The example product's installation medium: setup.exe and the script with
# the files it installs, laid out as the script expects.
function(tessel_demo_medium medium windows_dir windows_target)
  set(demo ${CMAKE_SOURCE_DIR}/examples/demo)
  add_custom_target(demo-medium-${windows_target} ALL
    COMMAND ${CMAKE_COMMAND} -E make_directory ${medium}/Program ${medium}/Shared
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${windows_dir}/setup.exe ${windows_dir}/Unskein.exe
            ${demo}/SetupScript.INI ${demo}/Licence.txt ${medium}/
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${windows_dir}/TesselDemo.exe ${demo}/Readme.txt
            ${medium}/Program/
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${windows_dir}/Tiles.dll ${medium}/Shared/
    DEPENDS ${windows_target}
    COMMENT "Assembling the demo medium in ${medium}"
    VERBATIM)
endfunction()
tessel_demo_medium(${CMAKE_BINARY_DIR}/demo-medium ${I686_DIR} windows-i686)

if(TESSEL_TEST_ARCH STREQUAL "i686")
  set(TEST_WINDOWS_DIR ${I686_DIR})
else()
  tessel_windows_build(${TESSEL_TEST_ARCH})
  set(TEST_WINDOWS_DIR ${CMAKE_BINARY_DIR}/windows-${TESSEL_TEST_ARCH})
endif()

# The same medium with the programs that Wine runs here, for trying the demo.
if(NOT TESSEL_TEST_ARCH STREQUAL "i686")
  tessel_demo_medium(${CMAKE_BINARY_DIR}/demo-medium-${TESSEL_TEST_ARCH} ${TEST_WINDOWS_DIR}
                     windows-${TESSEL_TEST_ARCH})
endif()

# ---------------------------------------------------------------- tiers ----
set(WINE_ENV ${CMAKE_SOURCE_DIR}/tests/wine-env)
set(WINE_STATE ${CMAKE_BINARY_DIR}/wine)

# What the shipped programs need of the machine and the medium. scriptcheck
# runs on the author's machine and is held to none of it.
add_test(NAME host.setup-imports-only-the-reviewed-list
  COMMAND ${CMAKE_SOURCE_DIR}/tests/check-imports ${CMAKE_SOURCE_DIR}/tests/imports.list ${TESSEL_DIST}/setup.exe)
add_test(NAME host.unskein-imports-only-the-reviewed-list
  COMMAND ${CMAKE_SOURCE_DIR}/tests/check-imports ${CMAKE_SOURCE_DIR}/tests/imports.list ${TESSEL_DIST}/Unskein.exe)
add_test(NAME host.starter-imports-only-the-reviewed-list
  COMMAND ${CMAKE_SOURCE_DIR}/tests/check-imports ${CMAKE_SOURCE_DIR}/tests/imports.list ${TESSEL_DIST}/starter.exe)
add_test(NAME host.programs-need-no-mmx-or-sse
  COMMAND ${CMAKE_SOURCE_DIR}/tests/check-instructions ${TESSEL_SYMBOLS}/setup.exe.debug
          ${TESSEL_SYMBOLS}/Unskein.exe.debug ${TESSEL_SYMBOLS}/starter.exe.debug)
add_test(NAME host.programs-leave-800-kb-free-on-a-floppy
  COMMAND ${CMAKE_SOURCE_DIR}/tests/check-sizes ${TESSEL_DIST} ${CMAKE_SOURCE_DIR}/examples/demo/SetupScript.INI)

add_test(NAME host.setup-folders-depend-one-way
  COMMAND ${CMAKE_SOURCE_DIR}/tests/check-layers ${CMAKE_SOURCE_DIR})

add_test(NAME host.demo-script-checks-clean
  COMMAND $<TARGET_FILE:scriptcheck> ${CMAKE_BINARY_DIR}/demo-medium/SetupScript.INI)

ExternalProject_Add(fuzzers
  SOURCE_DIR ${CMAKE_SOURCE_DIR}/tests/fuzz
  BINARY_DIR ${CMAKE_BINARY_DIR}/fuzz
  CMAKE_ARGS -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo
  CMAKE_GENERATOR ${CMAKE_GENERATOR}
  BUILD_ALWAYS ON
  INSTALL_COMMAND ""
  USES_TERMINAL_BUILD ON)
file(GLOB FUZZ_TARGETS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/fuzz/*_fuzz.cpp)
foreach(src ${FUZZ_TARGETS})
  get_filename_component(name ${src} NAME_WE)
  add_test(NAME fuzz.${name} COMMAND ${CMAKE_SOURCE_DIR}/scripts/fuzz ${name} 20)
  set_tests_properties(fuzz.${name} PROPERTIES TIMEOUT 180 ENVIRONMENT "TESSEL_BUILD=${CMAKE_BINARY_DIR}")
endforeach()

add_test(NAME wine.start COMMAND ${WINE_ENV} start ${WINE_STATE} ${TESSEL_TEST_ARCH})
set_tests_properties(wine.start PROPERTIES FIXTURES_SETUP wine TIMEOUT 300)
add_test(NAME wine.stop COMMAND ${WINE_ENV} stop ${WINE_STATE} ${TESSEL_TEST_ARCH})
set_tests_properties(wine.stop PROPERTIES FIXTURES_CLEANUP wine)

function(tessel_wine_tests tier pattern)
  file(GLOB sources CONFIGURE_DEPENDS ${pattern})
  foreach(src ${sources})
    get_filename_component(name ${src} NAME_WE)
    if(name MATCHES "_wow64_test$")
      continue()  # in the 64-bit prefix, below
    endif()
    add_test(NAME ${tier}.${name}
      COMMAND ${WINE_ENV} run ${WINE_STATE} ${TESSEL_TEST_ARCH} ${TEST_WINDOWS_DIR}/tests/${name}.exe)
    set_tests_properties(${tier}.${name} PROPERTIES FIXTURES_REQUIRED wine TIMEOUT 600
      ENVIRONMENT "TESSEL_BIN=${TEST_WINDOWS_DIR};TESSEL_SOURCE=${CMAKE_SOURCE_DIR}")
    # Tests that change what every program of the prefix sees (the registry,
    # the Windows directory, the screen) run alone.
    if(name MATCHES "_serial_test$")
      set_tests_properties(${tier}.${name} PROPERTIES RUN_SERIAL ON)
    endif()
  endforeach()
endfunction()
tessel_wine_tests(wine ${CMAKE_SOURCE_DIR}/tests/wine/*_test.cpp)
tessel_wine_tests(e2e ${CMAKE_SOURCE_DIR}/tests/e2e/*_test.cpp)

# 64-bit Windows: the i686 programs in a 64-bit prefix of their own (Wine's
# WoW64), where the machine runs 32-bit code; elsewhere the tests say they
# are skipped and why.
set(WOW64_ENV ${CMAKE_SOURCE_DIR}/tests/wow64-env)
set(WOW64_STATE ${CMAKE_BINARY_DIR}/wine64)
add_test(NAME wow64.start COMMAND ${WOW64_ENV} start ${WOW64_STATE} ${TESSEL_TEST_ARCH})
set_tests_properties(wow64.start PROPERTIES FIXTURES_SETUP wow64 TIMEOUT 300 SKIP_RETURN_CODE 77)
add_test(NAME wow64.stop COMMAND ${WOW64_ENV} stop ${WOW64_STATE} ${TESSEL_TEST_ARCH})
set_tests_properties(wow64.stop PROPERTIES FIXTURES_CLEANUP wow64 SKIP_RETURN_CODE 77)
file(GLOB WOW64_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/e2e/*_wow64_test.cpp)
foreach(src ${WOW64_TESTS})
  get_filename_component(name ${src} NAME_WE)
  add_test(NAME e2e.${name}
    COMMAND ${WOW64_ENV} run ${WOW64_STATE} ${TESSEL_TEST_ARCH} ${TEST_WINDOWS_DIR}/tests/${name}.exe)
  set_tests_properties(e2e.${name} PROPERTIES FIXTURES_REQUIRED wow64 TIMEOUT 600 SKIP_RETURN_CODE 77
    ENVIRONMENT "TESSEL_BIN=${TEST_WINDOWS_DIR};TESSEL_SOURCE=${CMAKE_SOURCE_DIR}")
endforeach()

# A nearly full drive E: for the test of a full disk.
add_test(NAME small_drive.start COMMAND ${CMAKE_SOURCE_DIR}/tests/small-drive start ${WINE_STATE})
set_tests_properties(small_drive.start PROPERTIES FIXTURES_SETUP small_drive FIXTURES_REQUIRED wine)
add_test(NAME small_drive.stop COMMAND ${CMAKE_SOURCE_DIR}/tests/small-drive stop ${WINE_STATE})
set_tests_properties(small_drive.stop PROPERTIES FIXTURES_CLEANUP small_drive)
set_tests_properties(e2e.full_disk_test PROPERTIES FIXTURES_REQUIRED "wine;small_drive")

# The signed single-file packages that e2e.single_file_test runs, made with
# the programs under test, and one that only setup finds damaged.
add_executable(misstate-checksum ${CMAKE_SOURCE_DIR}/tests/tools/misstate_checksum.cpp)
target_link_libraries(misstate-checksum PRIVATE text_core)
add_test(NAME e2e.signed_single_file_packages
  COMMAND ${CMAKE_SOURCE_DIR}/tests/single-file-packages ${TESSEL_DIST} ${TEST_WINDOWS_DIR} ${CMAKE_SOURCE_DIR}
          ${CMAKE_BINARY_DIR}/single-file $<TARGET_FILE:misstate-checksum>)
set_tests_properties(e2e.signed_single_file_packages PROPERTIES FIXTURES_SETUP single_file TIMEOUT 300)
set_tests_properties(e2e.single_file_test PROPERTIES FIXTURES_REQUIRED "wine;single_file")
