# zk_test(name source...): a GoogleTest executable on the game core and the
# headless platform, registered with CTest. Every test process runs in a
# scratch folder of its own inside the program's work folder.
function(zk_test name)
  add_executable(${name} ${ARGN} ${CMAKE_SOURCE_DIR}/tests/common/test_main.cpp)
  target_link_libraries(${name} PRIVATE zkcore zkplatform_headless zkcore zkplatform_headless
                        GTest::gtest)
  set(work ${CMAKE_BINARY_DIR}/testwork/${name})
  file(MAKE_DIRECTORY ${work})
  # The source tree and the generated default game, for tests that read them.
  target_compile_definitions(${name} PRIVATE ZK_SOURCE_DIR="${CMAKE_SOURCE_DIR}"
                             ZK_GAME_DIR="${CMAKE_BINARY_DIR}/game")
  gtest_discover_tests(${name} WORKING_DIRECTORY ${work}
                       PROPERTIES ENVIRONMENT "ZK_SOURCE_DIR=${CMAKE_SOURCE_DIR}"
                       ENVIRONMENT_MODIFICATION "ZK_GAME_DIR=set:${CMAKE_BINARY_DIR}/game"
                       DISCOVERY_TIMEOUT 60)
endfunction()

# zk_bench(name source...): a Google Benchmark program (not run by CTest).
function(zk_bench name)
  add_executable(${name} ${ARGN})
  target_link_libraries(${name} PRIVATE zkcore zkplatform_headless zkcore zkplatform_headless
                        benchmark::benchmark benchmark::benchmark_main)
endfunction()
