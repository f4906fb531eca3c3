# The portable code built for this machine: fast tests under AddressSanitizer and UBSan, and the
# fuzzers when the compiler is clang.
option(IPLIST_SANITIZE "Build with AddressSanitizer and UBSan" ON)
if(IPLIST_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()

if(CMAKE_CXX_COMPILER_ID MATCHES "Clang")
  add_compile_options(-fsanitize=fuzzer-no-link)  # coverage for the fuzzers
endif()

add_library(iplist_portable STATIC ${PORTABLE_SOURCES} errors/RaiseAddressNative.cpp)
target_include_directories(iplist_portable PUBLIC ${CMAKE_SOURCE_DIR})
target_compile_options(iplist_portable PRIVATE ${WARNINGS})

if(CMAKE_CXX_COMPILER_ID MATCHES "Clang")
  add_subdirectory(tests/fuzz)
else()
  enable_testing_with_googletest()
  add_subdirectory(tests/native)
endif()
