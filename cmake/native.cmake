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
  tests/native/clipboard_data_test.cpp
  tests/native/hotkey_plan_test.cpp
  tests/native/mailbox_test.cpp
  tests/native/scroll_geometry_test.cpp
  tests/native/item_rows_test.cpp
  tests/native/discovery_rules_test.cpp
  tests/native/editor_rules_test.cpp
  tests/native/exchange_test.cpp
  tests/native/damaged_files_test.cpp
  tests/native/single_instance_test.cpp
)
target_link_libraries(tvx_unit_tests PRIVATE tvx_core GTest::gtest GTest::gtest_main)
target_compile_options(tvx_unit_tests PRIVATE ${TVX_WARNINGS})
target_compile_definitions(tvx_unit_tests PRIVATE TVX_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
include(GoogleTest)
gtest_discover_tests(tvx_unit_tests DISCOVERY_MODE PRE_TEST)

add_executable(tvx_data_bench tests/bench/data_bench.cpp)
target_link_libraries(tvx_data_bench PRIVATE tvx_core)
target_compile_options(tvx_data_bench PRIVATE ${TVX_WARNINGS})

# Writes item and catalog files from a text description with the program's
# own data layer (the demo installation and the end-to-end tests use it).
add_executable(tvx_write_data tools/write_data.cpp)
target_link_libraries(tvx_write_data PRIVATE tvx_core)
target_compile_options(tvx_write_data PRIVATE ${TVX_WARNINGS})

# Prints an installation's item and catalog files as text (the end-to-end
# suites check the files with it).
add_executable(tvx_dump_data tools/dump_data.cpp)
target_link_libraries(tvx_dump_data PRIVATE tvx_core)
target_compile_options(tvx_dump_data PRIVATE ${TVX_WARNINGS})

# Drops files onto a window through X11's XDND protocol, as a file manager
# does; Wine hands such a drop to the program as WM_DROPFILES.
find_package(X11)
if(X11_FOUND)
  add_executable(xdnd_drop tests/tools/xdnd_drop.c)
  target_link_libraries(xdnd_drop PRIVATE X11::X11)
endif()
