# The Windows program, its tests under Wine, the end-to-end driver and the benchmarks.
enable_language(RC)
# The toolchain file names the oldest Windows release the build must load on (0x0500 for Windows
# 2000, 0x0502 for XP x64 / Server 2003): the headers then offer nothing newer, and the PE header
# carries the same version, since older loaders refuse a file that asks for a newer subsystem.
if(NOT IPLIST_WINDOWS_VERSION)
  message(FATAL_ERROR "Build for Windows with one of the toolchain files in cmake/")
endif()
math(EXPR subsystem_major "${IPLIST_WINDOWS_VERSION} >> 8")
math(EXPR subsystem_minor "${IPLIST_WINDOWS_VERSION} & 0xFF")
set(IPLIST_OLDEST_RELEASE ${subsystem_major}.${subsystem_minor})
add_compile_definitions(UNICODE _UNICODE NOMINMAX _WIN32_WINNT=${IPLIST_WINDOWS_VERSION}
                        WINVER=${IPLIST_WINDOWS_VERSION} _WIN32_IE=0x0500)
add_link_options(-Wl,--major-subsystem-version,${subsystem_major},--minor-subsystem-version,${subsystem_minor}
                 -Wl,--major-os-version,${subsystem_major},--minor-os-version,${subsystem_minor})
# No link time in the header and no build folder in the code, so that the same sources give the
# same executable wherever they are built.
add_link_options(-Wl,--no-insert-timestamp)
add_compile_options($<$<COMPILE_LANGUAGE:CXX>:-ffile-prefix-map=${CMAKE_SOURCE_DIR}/=>)

add_library(iplist_core STATIC
  ${PORTABLE_SOURCES}
  errors/RaiseAddressWindows.cpp
  errors/SystemError.cpp
  files/TextFile.cpp
  files/CodePage.cpp
  files/Retries.cpp
  files/FileSystem.cpp
  files/TimeOfDayStampWindows.cpp
  validation/SystemAnswers.cpp
  controls/Subclass.cpp
  controls/ReadOnlyMemo.cpp
  controls/phIPAddress.cpp
  app/AddressListFile.cpp
  app/BusyState.cpp
  app/ButtonPictures.cpp
  app/ErrorReport.cpp
  app/ListBoxView.cpp
  app/MainDialog.cpp
  app/MessagePump.cpp
  app/ScrollingLayout.cpp
  validation/StartupValidation.cpp
  validation/OperatingSystem.cpp
  validation/Components.cpp
  access/FolderAccess.cpp
  access/Administrators.cpp
  access/AccessList.cpp
  access/NativeFiles.cpp
  access/TreeWalk.cpp
  access/PermissionRepair.cpp
)
configure_file(app/Version.h.in ${CMAKE_BINARY_DIR}/generated/Version.h @ONLY)
# The product's components, listed once, in validation/components.txt, for the program and the
# tests alike: here as the entries of a wide-string array.
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/validation/components.txt)
file(STRINGS ${CMAKE_SOURCE_DIR}/validation/components.txt components REGEX "^[^#]")
set(component_entries "")
foreach(component ${components})
  string(REPLACE "\\" "\\\\" component "${component}")
  string(APPEND component_entries "L\"${component}\",\n")
endforeach()
file(WRITE ${CMAKE_BINARY_DIR}/generated/Components.inc "${component_entries}")
target_include_directories(iplist_core PUBLIC ${CMAKE_SOURCE_DIR} ${CMAKE_BINARY_DIR}/generated)
target_compile_options(iplist_core PRIVATE ${WARNINGS})
target_link_libraries(iplist_core PUBLIC comctl32 gdi32 user32 advapi32 kernel32)
target_link_options(iplist_core INTERFACE -static -static-libgcc -static-libstdc++)

# The seams as the shipped program has them: real pauses, real message boxes. Test builds link
# fakes in their place; nothing at run time can switch between the two.
add_library(iplist_system_seams OBJECT app/AnsweringPause.cpp app/MessageBoxSystem.cpp
  validation/SystemQueriesWindows.cpp)
target_link_libraries(iplist_system_seams PRIVATE iplist_core)
target_compile_options(iplist_system_seams PRIVATE ${WARNINGS})

add_executable(IPList WIN32 app/Program.cpp app/IPList.rc $<TARGET_OBJECTS:iplist_system_seams>)
target_link_libraries(IPList PRIVATE iplist_core)
target_compile_options(IPList PRIVATE ${WARNINGS})
target_link_options(IPList PRIVATE -municode)

option(IPLIST_TESTS "Build the tests and benchmarks" ON)
if(IPLIST_TESTS)
  # One throw-away Wine prefix and Xvfb display for the whole test run.
  set(WINE_SESSION ${CMAKE_BINARY_DIR}/wine-session)
  set(WINE_SESSION_SCRIPT ${CMAKE_SOURCE_DIR}/scripts/wine-session)
  # A 32-bit program runs in a 32-bit prefix, which can pose as the oldest releases.
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    set(WINE_ARCH win32)
  else()
    set(WINE_ARCH win64)
  endif()
  add_test(NAME wine_session_start COMMAND ${WINE_SESSION_SCRIPT} start ${WINE_SESSION} ${WINE_ARCH})
  add_test(NAME wine_session_stop COMMAND ${WINE_SESSION_SCRIPT} stop ${WINE_SESSION})
  set_tests_properties(wine_session_start PROPERTIES FIXTURES_SETUP wine TIMEOUT 180)
  set_tests_properties(wine_session_stop PROPERTIES FIXTURES_CLEANUP wine)
  function(add_wine_test name)
    add_test(NAME ${name} COMMAND ${WINE_SESSION_SCRIPT} run ${WINE_SESSION} wine ${ARGN})
    set_tests_properties(${name} PROPERTIES FIXTURES_REQUIRED wine RESOURCE_LOCK wine_session TIMEOUT 600)
  endfunction()

  find_program(PYTHON3 python3 REQUIRED)
  enable_testing_with_googletest()
  # The win32 threading model, which the oldest systems need, lacks the standard thread classes
  # one piece of GoogleTest uses; this folder supplies it through GoogleTest's own hook.
  target_include_directories(gtest BEFORE PUBLIC ${CMAKE_SOURCE_DIR}/tests/common/gtest-win32)
  add_subdirectory(tests/imports)
  add_subdirectory(tests/windows)
  add_subdirectory(tests/e2e)
  add_subdirectory(bench)
endif()
