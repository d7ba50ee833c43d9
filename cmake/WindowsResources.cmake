# The Windows program carries its icon and version information as resources
# (src/platform/windows/program.rc.in, compiled by windres). Elsewhere this
# does nothing: the Linux program gets its icon from the embedded PNG and the
# desktop files.
if(WIN32)
  enable_language(RC)
endif()

function(rk_windows_resources target)
  if(NOT WIN32)
    return()
  endif()
  set(RK_ICON_FILE "${CMAKE_SOURCE_DIR}/media/icons/rido-kladdorix.ico")
  set(RK_VERSION_COMMAS "${PROJECT_VERSION_MAJOR},${PROJECT_VERSION_MINOR},${PROJECT_VERSION_PATCH},0")
  configure_file(${CMAKE_SOURCE_DIR}/src/platform/windows/program.rc.in
                 ${CMAKE_CURRENT_BINARY_DIR}/${target}.rc @ONLY)
  target_sources(${target} PRIVATE ${CMAKE_CURRENT_BINARY_DIR}/${target}.rc)
  set_property(SOURCE ${CMAKE_CURRENT_BINARY_DIR}/${target}.rc APPEND PROPERTY OBJECT_DEPENDS ${RK_ICON_FILE})
endfunction()
