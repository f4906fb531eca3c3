# The Windows program, its tests under Wine, the end-to-end driver and the benchmarks.
enable_language(RC)
add_compile_definitions(UNICODE _UNICODE NOMINMAX _WIN32_WINNT=0x0501 WINVER=0x0501 _WIN32_IE=0x0600)

add_library(iplist_core STATIC
  ${PORTABLE_SOURCES}
  files/RaiseAddressWindows.cpp
  files/SystemError.cpp
  files/TextFile.cpp
  files/Retries.cpp
  files/FileSystem.cpp
  files/TimeOfDayStampWindows.cpp
  validation/SystemAnswers.cpp
  toolkit/Component.cpp
  toolkit/Cursor.cpp
  toolkit/WinControl.cpp
  toolkit/Form.cpp
  toolkit/StdControls.cpp
  toolkit/Timer.cpp
  toolkit/Application.cpp
  controls/phIPAddress.cpp
  app/AddressListFile.cpp
  app/BusyState.cpp
  app/ButtonPictures.cpp
  app/Main.cpp
  validation/StartupValidation.cpp
  validation/OperatingSystem.cpp
  validation/Components.cpp
  validation/FolderAccess.cpp
  validation/PermissionRepair.cpp
)
target_include_directories(iplist_core PUBLIC ${CMAKE_SOURCE_DIR})
target_compile_options(iplist_core PRIVATE ${WARNINGS})
target_link_libraries(iplist_core PUBLIC comctl32 gdi32 user32 advapi32 kernel32)
target_link_options(iplist_core INTERFACE -static -static-libgcc -static-libstdc++)

# The seams as the shipped program has them: real pauses, real message boxes. Test builds link
# fakes in their place; nothing at run time can switch between the two.
add_library(iplist_system_seams OBJECT files/PauseSleep.cpp toolkit/MessageBoxSystem.cpp
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
  add_test(NAME wine_session_start COMMAND ${WINE_SESSION_SCRIPT} start ${WINE_SESSION})
  add_test(NAME wine_session_stop COMMAND ${WINE_SESSION_SCRIPT} stop ${WINE_SESSION})
  set_tests_properties(wine_session_start PROPERTIES FIXTURES_SETUP wine TIMEOUT 180)
  set_tests_properties(wine_session_stop PROPERTIES FIXTURES_CLEANUP wine)
  function(add_wine_test name)
    add_test(NAME ${name} COMMAND ${WINE_SESSION_SCRIPT} run ${WINE_SESSION} wine ${ARGN})
    set_tests_properties(${name} PROPERTIES FIXTURES_REQUIRED wine RESOURCE_LOCK wine_session TIMEOUT 600)
  endfunction()

  enable_testing_with_googletest()
  add_subdirectory(tests/windows)
  add_subdirectory(tests/e2e)
  add_subdirectory(bench)
endif()
