# Native build: the core's unit tests (and, later, fuzzers and benchmarks).
enable_testing()
find_package(GTest REQUIRED)

add_executable(tvx_unit_tests
  tests/native/ansi_text_test.cpp
  tests/native/command_text_test.cpp
  tests/native/settings_test.cpp
  tests/native/item_model_test.cpp
  tests/native/item_file_test.cpp
  tests/native/catalog_file_test.cpp
  tests/native/short_name_test.cpp
  tests/native/round_trip_test.cpp
  tests/native/result_rows_test.cpp
)
target_link_libraries(tvx_unit_tests PRIVATE tvx_core GTest::gtest GTest::gtest_main)
target_compile_options(tvx_unit_tests PRIVATE ${TVX_WARNINGS})
target_compile_definitions(tvx_unit_tests PRIVATE TVX_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
include(GoogleTest)
gtest_discover_tests(tvx_unit_tests DISCOVERY_MODE PRE_TEST)

add_executable(tvx_data_bench tests/bench/data_bench.cpp)
target_link_libraries(tvx_data_bench PRIVATE tvx_core)
target_compile_options(tvx_data_bench PRIVATE ${TVX_WARNINGS})

# Writes the demo installation's data files with the program's own data layer.
add_executable(tvx_make_demo tools/make_demo.cpp)
target_link_libraries(tvx_make_demo PRIVATE tvx_core)
target_compile_options(tvx_make_demo PRIVATE ${TVX_WARNINGS})
