# The Windows program's resources. The window program's CMakeLists includes
# this file and adds ${VARNELKO_WIN32_RC} to its sources; the code finds the
# icon's id in "win32/resources/resource_ids.h".
set(VARNELKO_RC_DIR ${CMAKE_CURRENT_LIST_DIR})
# Windows keeps a version as four numbers: 1.01 is 1.1.0.0.
string(REPLACE "." ";" _varnelko_version_parts "${PROJECT_VERSION}.0.0.0")
set(_varnelko_numbers)
foreach(_i RANGE 3)
  list(GET _varnelko_version_parts ${_i} _part)
  math(EXPR _part "${_part} + 0")  # "01" is 1
  list(APPEND _varnelko_numbers ${_part})
endforeach()
list(JOIN _varnelko_numbers "," VARNELKO_RC_VERSION_COMMAS)
list(JOIN _varnelko_numbers "." VARNELKO_RC_VERSION_DOTS)

set(VARNELKO_RC_MANIFEST ${CMAKE_CURRENT_BINARY_DIR}/varnelko.manifest)
configure_file(${VARNELKO_RC_DIR}/varnelko.manifest ${VARNELKO_RC_MANIFEST} @ONLY)
set(VARNELKO_WIN32_RC ${CMAKE_CURRENT_BINARY_DIR}/varnelko.rc)
configure_file(${VARNELKO_RC_DIR}/varnelko.rc.in ${VARNELKO_WIN32_RC} @ONLY)
# The resource compiler reports no dependencies: name them.
set_source_files_properties(${VARNELKO_WIN32_RC} PROPERTIES OBJECT_DEPENDS
  "${VARNELKO_RC_DIR}/varnelko.ico;${VARNELKO_RC_MANIFEST};${VARNELKO_RC_DIR}/resource_ids.h")
