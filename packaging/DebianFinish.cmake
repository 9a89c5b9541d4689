# Run by CPack once it built the Debian packages (CPACK_POST_BUILD_SCRIPTS), for what its DEB
# generator cannot express: the Multi-Arch field, and a shared library without maintainer
# scripts (it writes postinst and postrm calls of ldconfig for every library in /usr/lib, which
# the package's ldconfig trigger already does). Each package concerned is unpacked, its control
# data changed, and packed again with dpkg-deb; its files stay as CPack laid them out.

foreach(deb IN LISTS CPACK_PACKAGE_FILES)
  get_filename_component(file_name ${deb} NAME)
  string(REGEX REPLACE "_.*" "" package ${file_name})
  if(NOT package IN_LIST CPACK_CASTWELL_MULTIARCH_SAME)
    continue()
  endif()
  set(tree ${deb}.tree)
  file(REMOVE_RECURSE ${tree})
  execute_process(COMMAND dpkg-deb --raw-extract ${deb} ${tree} COMMAND_ERROR_IS_FATAL ANY)

  file(READ ${tree}/DEBIAN/control control)
  string(REGEX REPLACE "(^|\n)(Architecture: [^\n]*\n)" "\\1\\2Multi-Arch: same\n" control
    "${control}")
  if(NOT control MATCHES "\nMulti-Arch: same\n")
    message(FATAL_ERROR "${file_name}: no Architecture field to put Multi-Arch beside")
  endif()
  file(WRITE ${tree}/DEBIAN/control "${control}")
  foreach(script postinst postrm)
    if(EXISTS ${tree}/DEBIAN/${script})
      file(READ ${tree}/DEBIAN/${script} body)
      if(body MATCHES "ldconfig")
        file(REMOVE ${tree}/DEBIAN/${script})
      endif()
    endif()
  endforeach()

  execute_process(COMMAND dpkg-deb --root-owner-group --build ${tree} ${deb}
    OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)
  file(REMOVE_RECURSE ${tree})
endforeach()
