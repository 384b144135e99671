# The project version is the one version. include/Morv.h states it for
# agent developers and must agree; the shipped binaries get it in their
# version resource.

set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/include/Morv.h)
file(STRINGS ${CMAKE_SOURCE_DIR}/include/Morv.h morv_header_version REGEX "^#define MORV_VERSION_")
set(morv_project_version
  "#define MORV_VERSION_MAJOR ${PROJECT_VERSION_MAJOR}"
  "#define MORV_VERSION_MINOR ${PROJECT_VERSION_MINOR}"
  "#define MORV_VERSION_PATCH ${PROJECT_VERSION_PATCH}"
  "#define MORV_VERSION_TEXT \"${PROJECT_VERSION}\"")
if(NOT morv_header_version STREQUAL morv_project_version)
  string(REPLACE ";" "\n  " want "${morv_project_version}")
  message(FATAL_ERROR "include/Morv.h must state the project version ${PROJECT_VERSION}:\n  ${want}")
endif()

# morv_version_resource(TARGET FILE_NAME FILE_TYPE DESCRIPTION)
function(morv_version_resource target file_name file_type description)
  get_filename_component(MORV_RC_NAME ${file_name} NAME_WE)
  set(MORV_RC_FILENAME ${file_name})
  set(MORV_RC_FILETYPE ${file_type})
  set(MORV_RC_DESCRIPTION ${description})
  set(rc ${CMAKE_CURRENT_BINARY_DIR}/${target}.rc)
  configure_file(${CMAKE_SOURCE_DIR}/cmake/VersionInfo.rc.in ${rc} @ONLY)
  target_sources(${target} PRIVATE ${rc})
endfunction()
