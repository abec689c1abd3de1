# quilite_install(<target>...): installs programs into bin/ and shared libraries into the private
# folder quilite/ of the library folder (lib/x86_64-linux-gnu/quilite under /usr). The libraries serve only the suite's own programs, so no header, static
# library or development link is installed, and they stay off the system's library path: each
# installed binary finds them relative to its own file, so an installed tree may be moved. The
# installation test checks every program listed here (its --help and its manual page).
include(GNUInstallDirs)
set(QUILITE_LIBRARY_DESTINATION ${CMAKE_INSTALL_LIBDIR}/quilite)
file(RELATIVE_PATH QUILITE_LIBRARY_FROM_BIN ${CMAKE_INSTALL_FULL_BINDIR}
     ${CMAKE_INSTALL_PREFIX}/${QUILITE_LIBRARY_DESTINATION})

function(quilite_install)
  foreach(target IN LISTS ARGN)
    get_target_property(type ${target} TYPE)
    if(type STREQUAL "EXECUTABLE")
      set_target_properties(${target} PROPERTIES INSTALL_RPATH "$ORIGIN/${QUILITE_LIBRARY_FROM_BIN}")
      install(TARGETS ${target} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
      set_property(GLOBAL APPEND PROPERTY QUILITE_INSTALLED_PROGRAMS ${target})
    elseif(type STREQUAL "SHARED_LIBRARY")
      set_target_properties(${target} PROPERTIES
        VERSION ${PROJECT_VERSION} SOVERSION ${PROJECT_VERSION_MAJOR} INSTALL_RPATH "$ORIGIN")
      install(TARGETS ${target} LIBRARY DESTINATION ${QUILITE_LIBRARY_DESTINATION} NAMELINK_SKIP)
      set_property(GLOBAL APPEND PROPERTY QUILITE_INSTALLED_LIBRARIES ${target})
    else()
      message(FATAL_ERROR "quilite_install(${target}): neither a program nor a shared library")
    endif()
  endforeach()
endfunction()
