# The Windows programs, their test programs and test fixtures (cross-built).
enable_language(RC)

set(CMAKE_RC_FLAGS "${CMAKE_RC_FLAGS} -O coff")
# Static C and C++ runtimes: setup.exe must start from a medium on a clean
# machine without any MinGW DLL beside it.
set(TESSEL_STATIC_RUNTIME -static -static-libgcc -static-libstdc++)
add_compile_options(-Wall -Wextra -Wno-unused-parameter -Wno-cast-function-type)
# The shipped programs go on a floppy beside the script: optimised for size,
# every unused function and datum left out at link time.
set(CMAKE_C_FLAGS_RELEASE "-Os -DNDEBUG")
set(CMAKE_CXX_FLAGS_RELEASE "-Os -DNDEBUG")
add_compile_options(-ffunction-sections -fdata-sections)
add_link_options(-Wl,--gc-sections)
add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0501 WINVER=0x0501 _WIN32_IE=0x0501)

# Only DLLs that Windows always takes from the system folder: every other
# DLL is loaded at run time by its full path (setup/system).
set(SETUP_PLATFORM_LIBS ole32 uuid shell32 advapi32 gdi32 user32 kernel32)
# The tests read versions, list views and compressed files themselves.
set(TEST_PLATFORM_LIBS ${SETUP_PLATFORM_LIBS} comctl32 version setupapi)

# Everything of setup.exe but its entry point, so that the Windows-side unit
# tests link the same code.
file(GLOB SETUP_SOURCES CONFIGURE_DEPENDS
  ${CMAKE_SOURCE_DIR}/setup/script/*.cpp
  ${CMAKE_SOURCE_DIR}/setup/ui/*.cpp
  ${CMAKE_SOURCE_DIR}/setup/install/*.cpp
  ${CMAKE_SOURCE_DIR}/setup/guard/*.cpp
  ${CMAKE_SOURCE_DIR}/setup/system/*.cpp)
list(REMOVE_ITEM SETUP_SOURCES ${CMAKE_SOURCE_DIR}/setup/script/main.cpp)
# The Windows-side helpers that setup.exe and Unskein.exe both use, those
# only setup needs (Unskein.exe would import what they call even unused),
# and what the two programs link directly to keep the C++ runtime's heavy
# parts out.
set(COMMON_SOURCES ${CMAKE_SOURCE_DIR}/common/whole_file.cpp ${CMAKE_SOURCE_DIR}/common/system_paths.cpp
    ${CMAKE_SOURCE_DIR}/common/windows64.cpp ${CMAKE_SOURCE_DIR}/common/server_64.cpp)
set(SETUP_COMMON_SOURCES ${CMAKE_SOURCE_DIR}/common/system_error.cpp ${CMAKE_SOURCE_DIR}/common/file_range.cpp)
# The shared-file counts: setup adds to them, Unskein takes them back.
set(SHARED_COUNT_SOURCES ${CMAKE_SOURCE_DIR}/common/shared_counts.cpp)
# Shell links: setup writes them, Unskein reads them.
set(SHELL_LINK_SOURCES ${CMAKE_SOURCE_DIR}/common/shell_link.cpp)
# The entries of the list of programs: setup reads an installed version's, Unskein its own.
set(REGISTRY_VALUE_SOURCES ${CMAKE_SOURCE_DIR}/common/registry_values.cpp)
# DLLs from the system folder only, and kernel32 functions looked up: setup, Unskein and the starter.
set(SYSTEM_FOLDER_SOURCES ${CMAKE_SOURCE_DIR}/common/system_folder.cpp)
# The shipped programs are built lean: without exceptions or run-time type
# information, with the standard library's string and container code
# compiled in (common/lean_runtime.h) and without the unwind tables that
# only exceptions read. The runtime's prebuilt code would bring the
# exception machinery and its unwinder, a third of setup.exe; so would the
# guards of local statics, which a program of one thread does not need.
# common/lean_runtime.cpp, linked into each, ends it where the runtime would
# throw.
set(LEAN_COMPILE_OPTIONS -fno-asynchronous-unwind-tables
    $<$<COMPILE_LANGUAGE:CXX>:-fno-exceptions -fno-rtti -fno-threadsafe-statics
                              -include ${CMAKE_SOURCE_DIR}/common/lean_runtime.h>)
set(SHIPPED_RUNTIME_SOURCES ${CMAKE_SOURCE_DIR}/common/lean_runtime.cpp)
# The shell's folders: setup's Programs and application data folders, and
# the folders Unskein never deletes.
set(SHELL_FOLDER_SOURCES ${CMAKE_SOURCE_DIR}/common/shell_folders.cpp)
# Files replaced whole, and Wininit.ini's renames through them: setup replaces
# and deletes files in use at restart, Unskein removes them and its copy in TEMP.
set(FILE_REPLACEMENT_SOURCES ${CMAKE_SOURCE_DIR}/common/whole_file_replacement.cpp ${CMAKE_SOURCE_DIR}/common/wininit.cpp)
# The script's registry and INI entries and its libraries: setup writes and
# registers them, Unskein takes them back.
set(ENTRY_SOURCES ${CMAKE_SOURCE_DIR}/common/entry_keys.cpp ${CMAKE_SOURCE_DIR}/common/ini_values.cpp
    ${CMAKE_SOURCE_DIR}/common/installed_library.cpp)
add_library(setup_code STATIC ${SETUP_SOURCES} ${SETUP_TEXT_SOURCES} ${COMMON_SOURCES} ${SETUP_COMMON_SOURCES}
            ${SHARED_COUNT_SOURCES} ${REGISTRY_VALUE_SOURCES} ${SYSTEM_FOLDER_SOURCES} ${ENTRY_SOURCES}
            ${SHELL_LINK_SOURCES} ${SHELL_FOLDER_SOURCES} ${FILE_REPLACEMENT_SOURCES})
target_include_directories(setup_code PUBLIC ${CMAKE_SOURCE_DIR})
# Lean for setup.exe; the Windows-side tests that link it keep exceptions
# of their own.
target_compile_options(setup_code PRIVATE ${LEAN_COMPILE_OPTIONS})
target_link_libraries(setup_code PUBLIC ${SETUP_PLATFORM_LIBS})

# Resources: dialog templates and the welcome picture, which a small host
# program draws at build time.
set(WELCOME_BMP ${CMAKE_BINARY_DIR}/generated/welcome.bmp)
find_program(HOST_CXX NAMES c++ g++ REQUIRED NO_CMAKE_FIND_ROOT_PATH)
add_custom_command(OUTPUT ${WELCOME_BMP}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/generated
  COMMAND ${HOST_CXX} -std=c++17 -O2 -o ${CMAKE_BINARY_DIR}/generated/draw_welcome_bitmap
          ${CMAKE_SOURCE_DIR}/setup/ui/resources/draw_welcome_bitmap.cpp
  COMMAND ${CMAKE_BINARY_DIR}/generated/draw_welcome_bitmap ${WELCOME_BMP}
  DEPENDS ${CMAKE_SOURCE_DIR}/setup/ui/resources/draw_welcome_bitmap.cpp
  VERBATIM)
# The resource compiler reports no header dependencies of its own.
set_source_files_properties(${CMAKE_SOURCE_DIR}/setup/ui/resources/setup.rc
  PROPERTIES OBJECT_DEPENDS "${WELCOME_BMP};${CMAKE_SOURCE_DIR}/setup/ui/resources/resource_ids.h;${CMAKE_BINARY_DIR}/generated/setup.exe.manifest")
set_source_files_properties(${CMAKE_SOURCE_DIR}/uninstall/unskein.rc
  PROPERTIES OBJECT_DEPENDS ${CMAKE_BINARY_DIR}/generated/Unskein.exe.manifest)
set(SETUP_RC ${CMAKE_SOURCE_DIR}/setup/ui/resources/setup.rc)

# The programs that go into dist/: stripped, with the program as linked,
# symbols and debugging information included, kept as <program>.exe.debug
# (the dist step puts those in symbols/), so that a crash address can still
# be read:
#   i686-w64-mingw32-addr2line -f -C -e build/symbols/setup.exe.debug 0x4012ab
function(tessel_dist_program target)
  target_compile_options(${target} PRIVATE $<$<COMPILE_LANGUAGE:CXX>:-g>)
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE_NAME:${target}> $<TARGET_FILE_NAME:${target}>.debug
    COMMAND ${CMAKE_STRIP} --strip-all $<TARGET_FILE_NAME:${target}>
    COMMAND ${CMAKE_OBJCOPY} --add-gnu-debuglink=$<TARGET_FILE_NAME:${target}>.debug $<TARGET_FILE_NAME:${target}>
    WORKING_DIRECTORY $<TARGET_FILE_DIR:${target}>
    VERBATIM)
endfunction()

# The manifest that setup.exe and Unskein.exe carry, from one template.
function(tessel_manifest program description)
  set(MANIFEST_PROGRAM ${program})
  set(MANIFEST_DESCRIPTION ${description})
  configure_file(${CMAKE_SOURCE_DIR}/common/program.manifest.in
                 ${CMAKE_BINARY_DIR}/generated/${program}.exe.manifest @ONLY)
endfunction()
tessel_manifest(setup "Tessel setup")
tessel_manifest(Unskein "Tessel uninstaller")
tessel_manifest(starter "Tessel setup starter")

target_compile_options(setup_code PRIVATE -g)
add_executable(setup WIN32 ${CMAKE_SOURCE_DIR}/setup/script/main.cpp ${SHIPPED_RUNTIME_SOURCES} ${SETUP_RC})
target_include_directories(setup PRIVATE ${CMAKE_SOURCE_DIR} ${CMAKE_BINARY_DIR}/generated)
target_compile_options(setup PRIVATE ${LEAN_COMPILE_OPTIONS})
target_link_libraries(setup PRIVATE setup_code ${TESSEL_STATIC_RUNTIME})
set_target_properties(setup PROPERTIES OUTPUT_NAME setup)
tessel_dist_program(setup)

file(GLOB UNINSTALL_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/uninstall/*.cpp)
if(UNINSTALL_SOURCES)
  add_executable(Unskein WIN32 ${UNINSTALL_SOURCES} ${UNINSTALL_TEXT_SOURCES} ${COMMON_TEXT_SOURCES} ${COMMON_SOURCES}
                 ${SHARED_COUNT_SOURCES} ${REGISTRY_VALUE_SOURCES} ${ENTRY_SOURCES} ${SYSTEM_FOLDER_SOURCES}
                 ${SHELL_LINK_SOURCES} ${SHELL_FOLDER_SOURCES} ${FILE_REPLACEMENT_SOURCES} ${SHIPPED_RUNTIME_SOURCES}
                 ${CMAKE_SOURCE_DIR}/uninstall/unskein.rc)
  target_include_directories(Unskein PRIVATE ${CMAKE_SOURCE_DIR} ${CMAKE_BINARY_DIR}/generated)
  target_compile_options(Unskein PRIVATE ${LEAN_COMPILE_OPTIONS})
  target_link_libraries(Unskein PRIVATE advapi32 shell32 user32 kernel32 ole32 uuid ${TESSEL_STATIC_RUNTIME})
  tessel_dist_program(Unskein)
endif()

add_library(checker STATIC ${CHECKER_SOURCES} ${SETUP_TEXT_SOURCES} ${CHECKER_UNINSTALL_SOURCES})
target_include_directories(checker PUBLIC ${CMAKE_SOURCE_DIR})
add_executable(scriptcheck ${CMAKE_SOURCE_DIR}/scriptcheck/main.cpp)
target_link_libraries(scriptcheck PRIVATE checker ${TESSEL_STATIC_RUNTIME})
tessel_dist_program(scriptcheck)

# The program that a single-file package starts with.
file(GLOB STARTER_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/starter/*.cpp)
set_source_files_properties(${CMAKE_SOURCE_DIR}/starter/starter.rc
  PROPERTIES OBJECT_DEPENDS ${CMAKE_BINARY_DIR}/generated/starter.exe.manifest)
add_executable(starter WIN32 ${STARTER_SOURCES} ${PAYLOAD_SOURCES} ${COMMON_SOURCES} ${SETUP_COMMON_SOURCES}
               ${SYSTEM_FOLDER_SOURCES}
               ${SHIPPED_RUNTIME_SOURCES} ${CMAKE_SOURCE_DIR}/starter/starter.rc)
target_include_directories(starter PRIVATE ${CMAKE_SOURCE_DIR} ${CMAKE_BINARY_DIR}/generated)
target_compile_options(starter PRIVATE ${LEAN_COMPILE_OPTIONS})
target_link_libraries(starter PRIVATE gdi32 user32 kernel32 ${TESSEL_STATIC_RUNTIME})
tessel_dist_program(starter)

add_executable(tesselpack ${PACK_SOURCES} ${PACK_TEXT_SOURCES})
target_link_libraries(tesselpack PRIVATE checker ${TESSEL_STATIC_RUNTIME})
tessel_dist_program(tesselpack)

# The example product of examples/demo: a small program and the shared
# library it draws with, which registers itself when installed.
add_executable(TesselDemo WIN32 ${CMAKE_SOURCE_DIR}/examples/demo/tessel_demo.cpp)
target_include_directories(TesselDemo PRIVATE ${CMAKE_SOURCE_DIR})
target_link_libraries(TesselDemo PRIVATE gdi32 user32 kernel32 ${TESSEL_STATIC_RUNTIME})
add_library(demo_tiles SHARED ${CMAKE_SOURCE_DIR}/examples/demo/tiles.cpp ${CMAKE_SOURCE_DIR}/examples/demo/tiles.rc)
set_target_properties(demo_tiles PROPERTIES OUTPUT_NAME Tiles PREFIX "")
target_include_directories(demo_tiles PRIVATE ${CMAKE_SOURCE_DIR})
# Exports keep their plain names, as GetProcAddress asks for them.
target_link_libraries(demo_tiles PRIVATE advapi32 gdi32 user32 kernel32 ${TESSEL_STATIC_RUNTIME} -Wl,--kill-at)

# Clicks setup through its pages where no person can (scripts/demo without a display).
add_executable(demo_walker ${CMAKE_SOURCE_DIR}/examples/demo-walker/demo_walker.cpp)
target_link_libraries(demo_walker PRIVATE gdi32 user32 ${TESSEL_STATIC_RUNTIME})

# ---------------------------------------------------------------- tests ----
set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
# The win32 thread model has no std::mutex, which GoogleTest's Notification uses.
target_compile_definitions(gtest PUBLIC GTEST_HAS_NOTIFICATION_=1)
target_compile_options(gtest PUBLIC -include ${CMAKE_SOURCE_DIR}/tests/support/gtest_notification.h)

find_program(MSCOMPRESS mscompress REQUIRED NO_CMAKE_FIND_ROOT_PATH)

# Programs that tests start or load: fixtures/<name>.cpp becomes <name>.exe,
# fixtures/<name>.dll.cpp becomes <name>.dll (with <name>.dll.rc when present).
file(GLOB FIXTURE_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/fixtures/*.cpp)
foreach(src ${FIXTURE_SOURCES})
  get_filename_component(file ${src} NAME)
  string(REGEX REPLACE "\\.cpp$" "" name ${file})
  if(name MATCHES "\\.dll$")
    string(REGEX REPLACE "\\.dll$" "" stem ${name})
    set(rc ${CMAKE_SOURCE_DIR}/tests/fixtures/${name}.rc)
    if(EXISTS ${rc})
      add_library(fixture_${stem} SHARED ${src} ${rc})
    else()
      add_library(fixture_${stem} SHARED ${src})
    endif()
    set_target_properties(fixture_${stem} PROPERTIES OUTPUT_NAME ${stem} PREFIX ""
      RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/fixtures)
    # Exports keep their plain names (DllRegisterServer, not DllRegisterServer@0).
    target_link_libraries(fixture_${stem} PRIVATE ${TESSEL_STATIC_RUNTIME} -Wl,--kill-at)
    # And a compressed copy, <name>.dll_, as a medium would carry it.
    add_custom_command(TARGET fixture_${stem} POST_BUILD
      COMMAND ${CMAKE_COMMAND} -E remove -f ${CMAKE_BINARY_DIR}/fixtures/${name}_
      COMMAND ${MSCOMPRESS} ${CMAKE_BINARY_DIR}/fixtures/${name}
      VERBATIM)
    list(APPEND TESSEL_FIXTURES fixture_${stem})
  else()
    add_executable(fixture_${name} ${src})
    set_target_properties(fixture_${name} PROPERTIES OUTPUT_NAME ${name}
      RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/fixtures)
    target_link_libraries(fixture_${name} PRIVATE ${TESSEL_STATIC_RUNTIME})
    list(APPEND TESSEL_FIXTURES fixture_${name})
  endif()
endforeach()

# One library imports another, for loading a library beside its DLLs.
target_link_libraries(fixture_needs_neighbour PRIVATE fixture_neighbour)

# Files that tests install: tests/fixtures/data/<name> is copied to
# fixtures/<name> and compressed with the Windows setup compression (SZDD) by
# Debian's mscompress into fixtures/<name>_, so that expanding is checked
# against another program's compressor.
file(GLOB FIXTURE_DATA CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/fixtures/data/*)
set(FIXTURE_DATA_OUTPUTS)
foreach(data ${FIXTURE_DATA})
  get_filename_component(name ${data} NAME)
  set(copy ${CMAKE_BINARY_DIR}/fixtures/${name})
  add_custom_command(OUTPUT ${copy} ${copy}_
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/fixtures
    COMMAND ${CMAKE_COMMAND} -E copy ${data} ${copy}
    COMMAND ${CMAKE_COMMAND} -E remove -f ${copy}_
    COMMAND ${MSCOMPRESS} ${copy}
    DEPENDS ${data}
    VERBATIM)
  list(APPEND FIXTURE_DATA_OUTPUTS ${copy} ${copy}_)
endforeach()
if(FIXTURE_DATA_OUTPUTS)
  add_custom_target(fixture_data ALL DEPENDS ${FIXTURE_DATA_OUTPUTS})
  list(APPEND TESSEL_FIXTURES fixture_data)
endif()

# Windows-side unit tests: tests/wine/<name>_test.cpp becomes <name>_test.exe
# and links the code of setup.exe.
file(GLOB SUPPORT_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/support/*.cpp)
add_library(test_support STATIC ${SUPPORT_SOURCES} ${CMAKE_SOURCE_DIR}/tests/support/support.h
  ${PACK_TEXT_SOURCES})
target_include_directories(test_support PUBLIC ${CMAKE_SOURCE_DIR})
# install_support.cpp resets the engine state of setup's code.
target_link_libraries(test_support PUBLIC setup_code gtest ${TEST_PLATFORM_LIBS})

file(GLOB WINE_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/wine/*_test.cpp)
foreach(src ${WINE_TESTS})
  get_filename_component(name ${src} NAME_WE)
  add_executable(${name} ${src})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  target_link_libraries(${name} PRIVATE setup_code test_support gtest_main ${TESSEL_STATIC_RUNTIME})
endforeach()

# End-to-end tests: tests/e2e/<name>_test.cpp, each a program that drives
# setup.exe and Unskein.exe from outside as a person would.
file(GLOB DRIVER_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/e2e/driver/*.cpp)
add_library(e2e_driver STATIC ${DRIVER_SOURCES})
target_include_directories(e2e_driver PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(e2e_driver PUBLIC test_support gtest ${TEST_PLATFORM_LIBS})

file(GLOB E2E_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/e2e/*_test.cpp)
foreach(src ${E2E_TESTS})
  get_filename_component(name ${src} NAME_WE)
  add_executable(${name} ${src})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  target_link_libraries(${name} PRIVATE e2e_driver gtest_main ${TESSEL_STATIC_RUNTIME})
  add_dependencies(${name} setup starter ${TESSEL_FIXTURES})
  if(TARGET Unskein)
    add_dependencies(${name} Unskein)
  endif()
endforeach()

# Benchmarks: bench/<name>.cpp, programs that drive setup.exe like the
# end-to-end tests and print figures; bench/run starts them.
file(GLOB BENCH_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/bench/*.cpp)
foreach(src ${BENCH_SOURCES})
  get_filename_component(name ${src} NAME_WE)
  add_executable(${name} ${src})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
  target_link_libraries(${name} PRIVATE e2e_driver ${TESSEL_STATIC_RUNTIME})
  add_dependencies(${name} setup)
endforeach()
