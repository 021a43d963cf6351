# Host build: Linux, the headless platform, libpng for pictures.
find_package(PNG REQUIRED)
target_link_libraries(tovira_host PUBLIC PNG::PNG)
target_compile_definitions(tovira_base PUBLIC TOVIRA_HOST=1)

if(TOVIRA_BENCHMARKS)
  find_package(benchmark REQUIRED)
  file(GLOB TOVIRA_BENCH_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/benchmarks/*.cpp)
  if(TOVIRA_BENCH_SOURCES)
    add_executable(tovira_bench ${TOVIRA_BENCH_SOURCES})
    target_link_libraries(tovira_bench PRIVATE tovira_logic tovira_host benchmark::benchmark benchmark::benchmark_main)
    # The shipped files a headless bar starts with come from the source tree.
    target_compile_definitions(tovira_bench PRIVATE TOVIRA_TEST_DATA="${CMAKE_SOURCE_DIR}/tests/data")
    tovira_strict(tovira_bench)
  endif()
endif()
