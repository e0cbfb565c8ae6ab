# Windows builds (mingw-w64): the program, the shell extension, the language
# modules and, for the Wine test bench, the test tools and Win32 tests.
enable_language(RC)

add_compile_definitions(WIN32_LEAN_AND_MEAN _WIN32_WINNT=0x0601 WINVER=0x0601 NOMINMAX)
if(CMAKE_SYSTEM_PROCESSOR STREQUAL "i686")
  # i686 g++ 12 can fail with "section type conflict" on inline stdcall virtuals.
  add_compile_options($<$<COMPILE_LANGUAGE:CXX>:-fno-partial-inlining>)
  set(TVX_KILL_AT -Wl,--kill-at -Wl,--enable-stdcall-fixup)
  # What only the 32-bit build suffers from: a callback cast to a type of
  # another calling convention corrupts the stack there, and a value cut to
  # 32 bits (a pointer or a size in a LONG or DWORD) loses its upper half.
  list(APPEND TVX_WARNINGS -Wcast-function-type -Wconversion)
endif()
set(TVX_STATIC_RUNTIME -static -static-libgcc -static-libstdc++)
if(TVX_WERROR)
  add_link_options(-Wl,--fatal-warnings)
endif()
set(CMAKE_RC_FLAGS "${CMAKE_RC_FLAGS} -I${CMAKE_SOURCE_DIR}/resources -I${CMAKE_BINARY_DIR}/tlb -I${CMAKE_BINARY_DIR}/generated")

# minizip, built from Debian's zlib source by scripts/build_deps.sh; zlib from
# Debian's mingw package.
set(TVX_DEPS_DIR "${CMAKE_SOURCE_DIR}/build/deps/${TVX_TRIPLE}" CACHE PATH "Windows dependencies built from Debian sources")
if(NOT EXISTS "${TVX_DEPS_DIR}/lib/libminizip.a")
  message(FATAL_ERROR "minizip for ${TVX_TRIPLE} is missing: run scripts/build_deps.sh")
endif()
if(NOT EXISTS "${TVX_DEPS_DIR}/lib/libsqlite3.a")
  message(FATAL_ERROR "sqlite3 for ${TVX_TRIPLE} is missing: run scripts/build_deps.sh")
endif()
add_library(sqlite3_win STATIC IMPORTED)
set_target_properties(sqlite3_win PROPERTIES IMPORTED_LOCATION "${TVX_DEPS_DIR}/lib/libsqlite3.a"
                      INTERFACE_INCLUDE_DIRECTORIES "${TVX_DEPS_DIR}/include")
add_library(minizip STATIC IMPORTED)
set_target_properties(minizip PROPERTIES IMPORTED_LOCATION "${TVX_DEPS_DIR}/lib/libminizip.a"
                      INTERFACE_INCLUDE_DIRECTORIES "${TVX_DEPS_DIR}/include"
                      INTERFACE_LINK_LIBRARIES "z")

# Win32 code that both deliverables use: skin, dialogs, settings, data
# files, the mailbox and the add-item dialog.
add_library(tvx_ui STATIC
  data/win32/file_io.cpp
  data/win32/library.cpp
  data/win32/guid.cpp
  data/win32/mailbox.cpp
  data/win32/profile.cpp
  data/win32/timing_log.cpp
  data/win32/wide_path.cpp
  additem/win32/add_item_dialog.cpp
  ui/skin/win32/catalog_tree_view.cpp
  ui/skin/win32/dialog.cpp
  ui/skin/win32/skinned_dialog.cpp
  ui/skin/win32/image_button.cpp
  ui/skin/win32/message_box.cpp
  ui/skin/win32/resource_module.cpp
  ui/skin/win32/skin_controls.cpp
  ui/skin/win32/skin_image.cpp
  ui/skin/win32/subclass.cpp
  ui/skin/win32/skin_list.cpp
  ui/skin/win32/skin_scroll_bar.cpp
  ui/skin/win32/skin_scrolled.cpp
  ui/skin/win32/skin_tree.cpp
)
target_link_libraries(tvx_ui PUBLIC tvx_core gdiplus comctl32 shell32 ole32 oleaut32 oleacc uuid advapi32 user32 gdi32)
target_compile_options(tvx_ui PRIVATE ${TVX_WARNINGS})

# Win32 code of the program only.
add_library(tvx_win STATIC
  config/win32/discovery.cpp
  config/win32/url_import.cpp
  data/win32/clipboard_io.cpp
  exchange/archive_unpack.cpp
  exchange/win32/exchange_pipeline.cpp
  exchange/win32/zip_archive.cpp
  services/win32/run_command.cpp
  launcher/win32/tray_icon.cpp
)
target_link_libraries(tvx_win PUBLIC tvx_ui minizip sqlite3_win comdlg32)
target_compile_options(tvx_win PRIVATE ${TVX_WARNINGS})

# The extension's type library, from its IDL with Wine's system IDL files.
set(TVX_WINE_IDL_DIR /usr/include/wine/wine/windows CACHE PATH "Wine's IDL files (libwine-dev)")
set(TVX_STDOLE_DIR /usr/lib/x86_64-linux-gnu/wine/x86_64-windows CACHE PATH "Folder holding stdole2.tlb")
if(CMAKE_SYSTEM_PROCESSOR STREQUAL "i686")
  set(TVX_WIDL_TARGET --win32)
else()
  set(TVX_WIDL_TARGET --win64)
endif()
add_custom_command(
  OUTPUT ${CMAKE_BINARY_DIR}/tlb/TavrolinexExt.tlb
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/tlb
  COMMAND ${TVX_TRIPLE}-widl -t ${TVX_WIDL_TARGET} -I ${TVX_WINE_IDL_DIR} -L ${TVX_STDOLE_DIR}
          -o ${CMAKE_BINARY_DIR}/tlb/TavrolinexExt.tlb ${CMAKE_SOURCE_DIR}/shellext/win32/TavrolinexExt.idl
  DEPENDS ${CMAKE_SOURCE_DIR}/shellext/win32/TavrolinexExt.idl
  COMMENT "Building the type library of TavrolinexExt")
add_custom_target(tvx_typelib DEPENDS ${CMAKE_BINARY_DIR}/tlb/TavrolinexExt.tlb)
set_source_files_properties(resources/TavrolinexExt.rc PROPERTIES OBJECT_DEPENDS
  "${CMAKE_BINARY_DIR}/tlb/TavrolinexExt.tlb;${CMAKE_SOURCE_DIR}/resources/Tavrolinex.manifest")
set_source_files_properties(resources/Tavrolinex.rc PROPERTIES OBJECT_DEPENDS ${CMAKE_SOURCE_DIR}/resources/Tavrolinex.manifest)

add_executable(Tavrolinex WIN32
  config/win32/candidate_pane.cpp
  config/win32/composed_box.cpp
  config/win32/config_dialog.cpp
  config/win32/catalog_pane.cpp
  config/win32/item_list_pane.cpp
  config/win32/config_tree.cpp
  config/win32/config_saving.cpp
  config/win32/config_lists.cpp
  config/win32/config_composed.cpp
  config/win32/editors.cpp
  services/win32/row_list_view.cpp
  exchange/win32/exchange_dialog.cpp
  exchange/win32/exchange_saving.cpp
  app/win32/main.cpp
  app/win32/application.cpp
  app/win32/language_dialog.cpp
  launcher/win32/launcher_window.cpp
  launcher/win32/launcher_lists.cpp
  launcher/win32/result_list_pane.cpp
  services/win32/progress_window.cpp
  launcher/win32/item_hotkeys.cpp
  resources/Tavrolinex.rc
)
target_link_libraries(Tavrolinex PRIVATE tvx_win)
target_compile_options(Tavrolinex PRIVATE ${TVX_WARNINGS})
target_link_options(Tavrolinex PRIVATE ${TVX_STATIC_RUNTIME})

add_library(TavrolinexExt SHARED
  shellext/win32/shell_ext.cpp
  shellext/win32/registration.cpp
  shellext/win32/TavrolinexExt.def
  resources/TavrolinexExt.rc
)
set_target_properties(TavrolinexExt PROPERTIES PREFIX "" OUTPUT_NAME TavrolinexExt)
add_dependencies(TavrolinexExt tvx_typelib)
target_link_libraries(TavrolinexExt PRIVATE tvx_ui)
target_compile_options(TavrolinexExt PRIVATE ${TVX_WARNINGS})
target_link_options(TavrolinexExt PRIVATE ${TVX_STATIC_RUNTIME} ${TVX_KILL_AT})

# Language modules: resource-only libraries named "Lang\<code>.dat".
foreach(lang eng chs)
  add_library(lang_${lang} MODULE resources/lang/${lang}.rc resources/lang/lang_entry.c)
  set_target_properties(lang_${lang} PROPERTIES PREFIX "" OUTPUT_NAME ${lang} SUFFIX ".dat"
                        LIBRARY_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/Lang)
  target_link_options(lang_${lang} PRIVATE -static-libgcc)
endforeach()

if(TVX_WIN_TESTS)
  add_executable(tvxhelper tests/tools/tvxhelper.cpp)
  add_executable(tvxdrive tests/tools/tvxdrive.cpp tests/tools/tvxdrive_bars.cpp tests/tools/tvxdrive_system.cpp)
  add_executable(tvxshellhost tests/tools/tvxshellhost.cpp)
  add_executable(tvxprobe tests/tools/tvxprobe.c)
  target_link_options(tvxprobe PRIVATE -static)
  add_executable(tvx_discovery_bench tests/bench/discovery_bench.cpp)
  target_link_libraries(tvx_discovery_bench PRIVATE tvx_win)
  add_executable(tvxsavekill tests/tools/tvxsavekill.cpp tests/tools/kill_watch.cpp)
  target_link_libraries(tvxsavekill PRIVATE tvx_win)
  add_executable(tvxscale tests/tools/tvxscale.cpp)
  target_link_libraries(tvxscale PRIVATE tvx_ui psapi)
  add_executable(tvx_exchange_bench tests/bench/exchange_bench.cpp)
  target_link_libraries(tvx_exchange_bench PRIVATE tvx_win)
  target_link_libraries(tvxshellhost PRIVATE ole32 oleaut32 uuid shell32)
  target_link_libraries(tvxdrive PRIVATE shell32 ole32 uuid)
  foreach(tool tvxhelper tvxdrive tvxshellhost tvxsavekill tvxscale tvx_discovery_bench tvx_exchange_bench)
    target_compile_options(${tool} PRIVATE ${TVX_WARNINGS})
    target_link_options(${tool} PRIVATE ${TVX_STATIC_RUNTIME})
  endforeach()

  # GoogleTest from the sources Debian ships, built with mingw.
  set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

  add_executable(tvx_win_tests
    tests/win32/clipboard_test.cpp
    tests/win32/file_io_test.cpp
    tests/win32/mailbox_test.cpp
    tests/win32/discovery_test.cpp
    tests/win32/profile_test.cpp
    tests/win32/registration_test.cpp
    shellext/win32/registration.cpp
    tests/win32/run_command_test.cpp
    tests/win32/skin_controls_test.cpp
    tests/win32/exchange_test.cpp
    tests/win32/wide_path_test.cpp
    tests/win32/test_support.cpp
  )
  target_link_libraries(tvx_win_tests PRIVATE tvx_win gtest gtest_main comctl32)
  target_compile_options(tvx_win_tests PRIVATE ${TVX_WARNINGS})
  target_link_options(tvx_win_tests PRIVATE ${TVX_STATIC_RUNTIME})
endif()
