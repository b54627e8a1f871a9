# The release from res/version.h, the one place it is written:
# PACKWRIGHT_VERSION_{MAJOR,MINOR,PATCH,BUILD,DOTTED,NAME,TEXT,DATE}.
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
             "${CMAKE_SOURCE_DIR}/res/version.h" "${CMAKE_SOURCE_DIR}/res/Packwright32.manifest")
file(STRINGS "${CMAKE_SOURCE_DIR}/res/version.h" version_lines REGEX "^#define PACKWRIGHT_VERSION_[A-Z]+ ")
foreach(line IN LISTS version_lines)
  if(line MATCHES "^#define (PACKWRIGHT_VERSION_[A-Z]+) \"?([^\"]*)\"?$")
    set(${CMAKE_MATCH_1} "${CMAKE_MATCH_2}")
  endif()
endforeach()

set(numeric "${PACKWRIGHT_VERSION_MAJOR}.${PACKWRIGHT_VERSION_MINOR}.${PACKWRIGHT_VERSION_PATCH}.${PACKWRIGHT_VERSION_BUILD}")
if(NOT PACKWRIGHT_VERSION_DOTTED STREQUAL numeric)
  message(FATAL_ERROR "res/version.h: PACKWRIGHT_VERSION_DOTTED is ${PACKWRIGHT_VERSION_DOTTED}, the numbers say ${numeric}")
endif()
# The manifest is compiled as it stands (windres does not preprocess it).
file(READ "${CMAKE_SOURCE_DIR}/res/Packwright32.manifest" manifest)
if(NOT manifest MATCHES "name=\"HalvardNetwork.Packwright32\" version=\"${PACKWRIGHT_VERSION_DOTTED}\"")
  message(FATAL_ERROR "res/Packwright32.manifest: the assembly version is not ${PACKWRIGHT_VERSION_DOTTED} (res/version.h)")
endif()
