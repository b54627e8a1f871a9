# Windows-only targets: the framework's Win32 layer, the desktop program, the
# tools DLL and the Windows-side tests. Each block does nothing until its
# directory has sources.

set(PACKWRIGHT_WIN32_LIBS comctl32 comdlg32 shell32 shlwapi ole32 oleaut32 uuid
    gdi32 user32 advapi32)

function(packwright_glob_dirs out)
  set(all "")
  foreach(dir IN LISTS ARGN)
    packwright_sources(srcs "${dir}")
    list(APPEND all ${srcs})
  endforeach()
  set(${out} ${all} PARENT_SCOPE)
endfunction()

# GetTickCount64 in place of the one that the static thread library imports
# and XP lacks; an object, not an archive, so the linker takes it first.
add_library(xp_compat OBJECT "${CMAKE_SOURCE_DIR}/framework/win32/compat/TickCount64.cpp")
packwright_target_defaults(xp_compat)
if(TARGET packwright)
  target_sources(packwright PRIVATE $<TARGET_OBJECTS:xp_compat>)
endif()

# framework/win32: windows, message routing, dialogs, GDI, shell.
packwright_sources(FW_WIN32_SOURCES framework/win32)
if(FW_WIN32_SOURCES)
  packwright_library(fw_win32 framework/win32 LINKS fw_base ${PACKWRIGHT_WIN32_LIBS})
endif()

# settings/: the registry and INI helpers, below ui/ and suite/ that use them.
packwright_sources(SETTINGS_SOURCES settings)
if(SETTINGS_SOURCES AND TARGET fw_win32)
  packwright_library(settings settings LINKS fw_win32)
endif()

# The program's code but its entry point is a library: Packwright32.exe and
# the Windows-side tests run the very same code. Resources compiled by windres.
packwright_glob_dirs(APP_SOURCES app ui ui/menu suite)
packwright_sources(APP_MAIN_SOURCES app/main)
file(GLOB APP_RESOURCES CONFIGURE_DEPENDS "${CMAKE_SOURCE_DIR}/res/*.rc")
# windres reports no dependencies: name what the scripts pull in, so a new
# version number, manifest or picture recompiles them.
file(GLOB RESOURCE_INPUTS CONFIGURE_DEPENDS "${CMAKE_SOURCE_DIR}/res/*.h" "${CMAKE_SOURCE_DIR}/res/*.rc2"
     "${CMAKE_SOURCE_DIR}/res/*.manifest" "${CMAKE_SOURCE_DIR}/res/*.ico" "${CMAKE_SOURCE_DIR}/res/*.bmp")
set_source_files_properties(${APP_RESOURCES} "${CMAKE_SOURCE_DIR}/cli/packwright.rc" "${CMAKE_SOURCE_DIR}/cliw/packwrightw.rc"
  "${CMAKE_SOURCE_DIR}/suite/hm_tools/hm_tools.rc" PROPERTIES OBJECT_DEPENDS "${RESOURCE_INPUTS}")
if(APP_SOURCES AND TARGET fw_win32)
  add_library(pw_app STATIC ${APP_SOURCES})
  packwright_target_defaults(pw_app)
  target_link_libraries(pw_app PUBLIC core preview fw_win32 winmm)
  if(TARGET settings)
    target_link_libraries(pw_app PUBLIC settings)
  endif()
endif()
if(TARGET pw_app AND APP_MAIN_SOURCES)
  add_executable(Packwright32 WIN32 ${APP_MAIN_SOURCES} ${APP_RESOURCES} $<TARGET_OBJECTS:xp_compat>)
  packwright_target_defaults(Packwright32)
  target_link_libraries(Packwright32 PRIVATE pw_app)
  # The module description file the program reads its version from at
  # start, beside the .exe, filled in from res/version.h.
  configure_file("${CMAKE_SOURCE_DIR}/res/hm_modul.dat.in" "${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/hm_modul.dat" @ONLY)
endif()

# packwrightw.exe: packwright built for the GUI subsystem, which Explorer's
# "Extract to NAME\" verb starts without a console window flashing up. Its
# front end (cliw/) shows the editor's progress and error-details dialogs
# from ui/, which cli/ must not reach: so it sits above both, and the
# linker takes from pw_app only those dialogs.
packwright_sources(CLIW_SOURCES cliw)
if(CLIW_SOURCES AND TARGET pw_cli AND TARGET pw_app)
  add_executable(packwrightw WIN32 ${CLIW_SOURCES} "${CMAKE_SOURCE_DIR}/cliw/packwrightw.rc"
                 $<TARGET_OBJECTS:xp_compat>)
  packwright_target_defaults(packwrightw)
  target_link_libraries(packwrightw PRIVATE pw_cli pw_app)
endif()

# The compiled resources and the artwork, checked against what the program
# relies on (once, in the tree whose tests run).
if(APP_RESOURCES AND CMAKE_CROSSCOMPILING_EMULATOR)
  add_test(NAME resources COMMAND sh "${CMAKE_SOURCE_DIR}/res/check_resources.sh")
endif()

# packwright.exe on a full drive: a small tmpfs mapped as a drive of the prefix.
if(CMAKE_CROSSCOMPILING_EMULATOR AND TARGET packwright)
  add_test(NAME full_disk COMMAND sh "${CMAKE_SOURCE_DIR}/tests/win/full_disk.sh" "${CMAKE_BINARY_DIR}")
  set_tests_properties(full_disk PROPERTIES SKIP_RETURN_CODE 77)
endif()

# bench_list: the main window at 65,536 entries (`make bench` runs it).
packwright_sources(WIN_BENCH_SOURCES bench/win)
if(WIN_BENCH_SOURCES AND TARGET pw_app)
  add_executable(bench_list ${WIN_BENCH_SOURCES} ${APP_RESOURCES})
  packwright_target_defaults(bench_list)
  target_link_libraries(bench_list PRIVATE pw_app)
endif()

# bench_menu: opening a popup with and without the owner-drawn menu.
packwright_sources(MENU_BENCH_SOURCES bench/menu)
if(MENU_BENCH_SOURCES AND TARGET pw_app)
  add_executable(bench_menu ${MENU_BENCH_SOURCES} ${APP_RESOURCES})
  packwright_target_defaults(bench_menu)
  target_link_libraries(bench_menu PRIVATE pw_app)
endif()

# hm_tools.dll: the stand-in tools library, built beside the .exe.
packwright_sources(HM_TOOLS_SOURCES suite/hm_tools)
file(GLOB HM_TOOLS_DEF CONFIGURE_DEPENDS "${CMAKE_SOURCE_DIR}/suite/hm_tools/*.def")
if(HM_TOOLS_SOURCES)
  add_library(hm_tools SHARED ${HM_TOOLS_SOURCES} ${HM_TOOLS_DEF} suite/hm_tools/hm_tools.rc
              $<TARGET_OBJECTS:xp_compat>)
  packwright_target_defaults(hm_tools)
  set_target_properties(hm_tools PROPERTIES PREFIX "" IMPORT_PREFIX "")
  target_link_libraries(hm_tools PRIVATE fw_base user32 advapi32)
  if(TARGET Packwright32)
    add_dependencies(Packwright32 hm_tools)
  endif()
endif()

# The shipped binaries name the oldest Windows they start on in their
# headers and import nothing newer. Run in every Windows tree, the win32 one
# (the shipping build, XP) included.
if(TARGET Packwright32 AND TARGET packwright AND TARGET hm_tools)
  add_test(NAME imports COMMAND sh "${CMAKE_SOURCE_DIR}/tests/win/imports.sh" "${CMAKE_OBJDUMP}"
           "${PACKWRIGHT_MIN_WINDOWS}" $<TARGET_FILE:Packwright32> $<TARGET_FILE:packwright> $<TARGET_FILE:hm_tools>
           $<$<TARGET_EXISTS:packwrightw>:$<TARGET_FILE:packwrightw>>)
endif()

# win_tests: the framework and the program driven through real windows.
packwright_sources(WIN_TEST_SOURCES tests/win)
if(WIN_TEST_SOURCES)
  # The tests carry the program's resources: they create its real windows.
  add_executable(win_tests ${TEST_SUPPORT_SOURCES} ${WIN_TEST_SOURCES} ${APP_RESOURCES})
  packwright_target_defaults(win_tests)
  target_link_libraries(win_tests PRIVATE core gtest ${PACKWRIGHT_WIN32_LIBS} version)
  if(TARGET pw_app)
    target_link_libraries(win_tests PRIVATE pw_app)
  elseif(TARGET fw_win32)
    target_link_libraries(win_tests PRIVATE fw_win32)
  endif()
  target_compile_definitions(win_tests PRIVATE
    TEST_TMPDIR_BASE="${CMAKE_BINARY_DIR}/test-tmp")
  # A library without the tools' exports, put in hm_tools.dll's place.
  add_library(hm_tools_bare SHARED "${CMAKE_SOURCE_DIR}/tests/win/bare/BareLibrary.cpp")
  set_target_properties(hm_tools_bare PROPERTIES PREFIX "" IMPORT_PREFIX "")
  # A library that leaves a file beside itself when loaded, planted where
  # the program must not look.
  add_library(hm_tools_planted SHARED "${CMAKE_SOURCE_DIR}/tests/win/planted/PlantedLibrary.cpp")
  set_target_properties(hm_tools_planted PROPERTIES PREFIX "" IMPORT_PREFIX "")
  # Tests start the real programs: PACKWRIGHT_EXE, PACKWRIGHT32_EXE, HM_TOOLS_DLL.
  foreach(pair packwright:PACKWRIGHT_EXE Packwright32:PACKWRIGHT32_EXE hm_tools:HM_TOOLS_DLL
               hm_tools_bare:HM_TOOLS_BARE_DLL hm_tools_planted:HM_TOOLS_PLANTED_DLL)
    string(REPLACE ":" ";" pair "${pair}")
    list(GET pair 0 prog)
    list(GET pair 1 macro)
    if(TARGET ${prog})
      target_compile_definitions(win_tests PRIVATE ${macro}="$<TARGET_FILE:${prog}>")
      add_dependencies(win_tests ${prog})
    endif()
  endforeach()
  # The program registers Explorer's verb only with packwrightw.exe beside it.
  if(TARGET packwrightw)
    add_dependencies(win_tests packwrightw)
  endif()
  # The program's tests share the Wine user's registry (profile, recent
  # files) and desktop: one at a time, while the portable tests run beside.
  packwright_register_gtest(win_tests RESOURCE_LOCK wine_user_profile)
  # The same tests once more on a 640x480 screen: the prefix gives the copy
  # named win_tests_small.exe a small virtual desktop of its own.
  if(CMAKE_CROSSCOMPILING_EMULATOR)
    add_custom_command(TARGET win_tests POST_BUILD
      COMMAND ${CMAKE_COMMAND} -E copy "$<TARGET_FILE:win_tests>" "${CMAKE_BINARY_DIR}/win_tests_small.exe")
    add_test(NAME SmallScreen
      COMMAND ${CMAKE_CROSSCOMPILING_EMULATOR} "${CMAKE_BINARY_DIR}/win_tests_small.exe" --gtest_filter=SmallScreen.*
      WORKING_DIRECTORY "${CMAKE_BINARY_DIR}")
    set_tests_properties(SmallScreen PROPERTIES TIMEOUT ${PACKWRIGHT_TEST_TIMEOUT} RESOURCE_LOCK wine_user_profile)
    # And at 150% and 200% text size, in a prefix of its own.
    add_test(NAME HighDpi COMMAND sh "${CMAKE_SOURCE_DIR}/tests/win/high_dpi.sh" "${CMAKE_BINARY_DIR}")
    set_tests_properties(HighDpi PROPERTIES TIMEOUT 300)
    # Double-byte names under code page 932, in a prefix of its own.
    add_test(NAME CodePage932 COMMAND sh "${CMAKE_SOURCE_DIR}/tests/win/code_page_932.sh" "${CMAKE_BINARY_DIR}")
    set_tests_properties(CodePage932 PROPERTIES TIMEOUT 300)
    if(TARGET native_tests)
      add_dependencies(win_tests native_tests)
    endif()
  endif()
endif()

# The x86_64 installer made from this tree's programs, and its test: silent
# install and uninstall under Wine, in a prefix of its own so the window
# tests' registry and desktop stay untouched. make release builds the ones
# that ship, from release builds. Without makensis there is neither.
find_program(PACKWRIGHT_MAKENSIS makensis)
if(PACKWRIGHT_MAKENSIS AND CMAKE_CROSSCOMPILING_EMULATOR AND TARGET Packwright32 AND TARGET packwright
   AND TARGET packwrightw AND TARGET hm_tools)
  set(installer "${CMAKE_BINARY_DIR}/installer/Packwright32-${PACKWRIGHT_VERSION_DOTTED}-win64-setup.exe")
  add_custom_command(OUTPUT "${installer}"
    COMMAND "${CMAKE_SOURCE_DIR}/scripts/package.sh" win64 "${CMAKE_BINARY_DIR}" "${CMAKE_BINARY_DIR}/installer"
            --installer-only >/dev/null
    DEPENDS Packwright32 packwright packwrightw hm_tools "${CMAKE_BINARY_DIR}/hm_modul.dat"
            "${CMAKE_SOURCE_DIR}/installer/Packwright32.nsi" "${CMAKE_SOURCE_DIR}/scripts/package.sh"
            "${CMAKE_SOURCE_DIR}/docs/USER-GUIDE.txt" "${CMAKE_SOURCE_DIR}/LICENSE"
    COMMENT "Packing the x86_64 installer for its test")
  add_custom_target(installer ALL DEPENDS "${installer}")
  # Runs the installed Explorer verb's command and answers its dialogs.
  add_executable(verb_run "${CMAKE_SOURCE_DIR}/tests/win/verbrun/VerbRun.cpp")
  add_dependencies(installer verb_run)
  add_test(NAME installer COMMAND sh "${CMAKE_SOURCE_DIR}/tests/win/installer.sh" "${CMAKE_BINARY_DIR}" "${installer}"
           $<TARGET_FILE:verb_run>)
  set_tests_properties(installer PROPERTIES TIMEOUT 300 SKIP_RETURN_CODE 77)
endif()
