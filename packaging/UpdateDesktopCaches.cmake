# Run at the end of `cmake --install`: the desktop reads the MIME types and
# the applications of a type from caches, not from the files installed, so a
# double click on an NC program finds Tornel only once they are rebuilt.
#
# A staged install (DESTDIR, as CPack and distribution builds do) is left
# alone: the caches belong to the machine the package lands on, whose package
# manager rebuilds them, and a package must not carry them.
if(NOT "$ENV{DESTDIR}" STREQUAL "" OR CMAKE_INSTALL_PREFIX MATCHES "/_CPack_Packages/")
  return()
endif()

set(data_dir "${CMAKE_INSTALL_PREFIX}/${TORNEL_INSTALL_DATADIR}")

function(tornel_refresh tool)
  find_program(path_of_${tool} ${tool})
  set(program "${path_of_${tool}}")
  if(NOT program)
    message(STATUS "${tool} is not installed: run it once it is (${ARGN})")
    return()
  endif()
  execute_process(COMMAND ${program} ${ARGN} RESULT_VARIABLE result)
  if(NOT result EQUAL 0)
    message(WARNING "${tool} ${ARGN} failed (${result})")
  endif()
endfunction()

tornel_refresh(update-mime-database "${data_dir}/mime")
tornel_refresh(update-desktop-database -q "${data_dir}/applications")
# The theme's own cache, where there is one, would hide the new icon.
if(EXISTS "${data_dir}/icons/hicolor/icon-theme.cache")
  tornel_refresh(gtk-update-icon-cache -q -t -f "${data_dir}/icons/hicolor")
endif()
