# Helpers shared by the targets in the root CMakeLists.txt.

# Sources of one directory (not recursive). Files ending in _win.cpp build only
# for Windows, files ending in _posix.cpp only elsewhere: that is how the
# platform seams in framework/base pick their implementation.
function(packwright_sources out dir)
  file(GLOB found CONFIGURE_DEPENDS "${CMAKE_SOURCE_DIR}/${dir}/*.cpp")
  if(WIN32)
    list(FILTER found EXCLUDE REGEX "_posix\\.cpp$")
  else()
    list(FILTER found EXCLUDE REGEX "_win\\.cpp$")
  endif()
  list(SORT found)
  set(${out} ${found} PARENT_SCOPE)
endfunction()

set(PACKWRIGHT_WARNINGS -Wall -Wextra)

function(packwright_target_defaults target)
  get_target_property(type ${target} TYPE)
  if(type STREQUAL "INTERFACE_LIBRARY")
    target_include_directories(${target} INTERFACE "${CMAKE_SOURCE_DIR}")
    return()
  endif()
  target_include_directories(${target} PUBLIC "${CMAKE_SOURCE_DIR}")
  target_compile_options(${target} PRIVATE ${PACKWRIGHT_WARNINGS})
endfunction()

# A static library from one directory; header-only while the directory has
# no sources yet, so dependants still configure.
#   packwright_library(NAME DIR [LINKS lib...])
function(packwright_library name dir)
  cmake_parse_arguments(PARSE_ARGV 2 arg "" "" "LINKS")
  packwright_sources(srcs "${dir}")
  if(srcs)
    add_library(${name} STATIC ${srcs})
    set(scope PUBLIC)
  else()
    add_library(${name} INTERFACE)
    set(scope INTERFACE)
  endif()
  packwright_target_defaults(${name})
  if(arg_LINKS)
    target_link_libraries(${name} ${scope} ${arg_LINKS})
  endif()
endfunction()

# Registers every GoogleTest case of an executable with CTest.
#  - native: listed right after the build, the usual way.
#  - cross with an emulator (win64 under Wine): listed when ctest starts, so
#    the build never needs Wine and the listing runs inside the test session
#    that owns the wineserver and the X display.
#  - cross without an emulator (win32): built to prove it compiles and links,
#    never run.
#  Extra arguments are further test properties (name value ...).
function(packwright_register_gtest target)
  if(CMAKE_CROSSCOMPILING AND NOT CMAKE_CROSSCOMPILING_EMULATOR)
    return()
  endif()
  if(CMAKE_CROSSCOMPILING)
    set(mode PRE_TEST)
  else()
    set(mode POST_BUILD)
  endif()
  gtest_discover_tests(${target}
    DISCOVERY_MODE ${mode}
    DISCOVERY_TIMEOUT 180
    WORKING_DIRECTORY "${CMAKE_BINARY_DIR}"
    PROPERTIES TIMEOUT ${PACKWRIGHT_TEST_TIMEOUT} ${ARGN})
endfunction()
