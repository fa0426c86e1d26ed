# The fuzz build: clang, libFuzzer's coverage on every piece of the game, and
# the address and undefined-behaviour checkers. Included by the top-level
# CMakeLists.txt before any target is made, so that all of them get the flags.
if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
  message(FATAL_ERROR "ZK_FUZZ needs clang (configure with -DCMAKE_CXX_COMPILER=clang++)")
endif()
find_package(Python3 REQUIRED COMPONENTS Interpreter)
# clang has no CP932 execution character set; the launcher writes the game's
# literals as Shift-JIS escapes instead.
set(CMAKE_CXX_COMPILER_LAUNCHER ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/tests/fuzz/cp932_launcher.py)
set(zk_fuzz_sanitizers -fsanitize=address,undefined -fno-sanitize-recover=undefined
    -fno-omit-frame-pointer)
add_compile_options(-fsanitize=fuzzer-no-link ${zk_fuzz_sanitizers} -Wno-invalid-source-encoding)
add_link_options(${zk_fuzz_sanitizers})
