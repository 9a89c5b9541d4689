# The Debian packages, split the way Debian splits such projects: the program, the runtime
# library, its development files, and the emulated device (a tool for testing). Built with
# CPack (scripts/package); dependencies come from dpkg-shlibdeps, and on our own library from
# the components' relations.

set(packages
  "program:castwell:video"
  "library:libtindrel1:libs"
  "development:libtindrel-dev:libdevel"
  "emulator:kestal-emulator:devel")

# Debian wants the lines of an extended description shorter than 80 columns.
set(CPACK_COMPONENT_PROGRAM_DESCRIPTION
  "companion of the Kestal USB HDMI capture device
Castwell shows the picture of the Kestal capture device's HDMI source
full-window with OpenGL and plays its sound. It follows plugging,
unplugging and the HDMI cable, keeps the device's firmware current and
updates itself. It lives in the system tray, or in its own window on
desktops without one.
.
This package also holds tindrel-tool, which updates the device's
firmware from the command line, and the udev rule that lets the user at
the seat use the device.")
set(CPACK_COMPONENT_LIBRARY_DESCRIPTION
  "firmware updates of the Kestal USB HDMI capture device - library
tindrel updates the firmware of the Kestal capture device's camera chip
and switches its USB mode, through twelve C functions.
.
This package holds the shared library.")
set(CPACK_COMPONENT_DEVELOPMENT_DESCRIPTION
  "firmware updates of the Kestal USB HDMI capture device - development
tindrel updates the firmware of the Kestal capture device's camera chip
and switches its USB mode, through twelve C functions.
.
This package holds the header and the files for CMake's
find_package(tindrel) and for pkg-config.")
set(CPACK_COMPONENT_EMULATOR_DESCRIPTION
  "emulated Kestal USB HDMI capture device, for testing
kestal-emulator plays the Kestal capture device without the hardware:
its status reports, a test-pattern camera, a tone on its audio input,
firmware updates, USB modes, plugging and chosen faults. Castwell and
tindrel-tool use it when KESTAL_EMULATOR names its socket; Qt plugins
let Castwell see and hear it.
.
Users of the real device do not need this package.")
set(CPACK_COMPONENT_PROGRAM_DEPENDS library)
set(CPACK_COMPONENT_DEVELOPMENT_DEPENDS library)
set(CPACK_DEBIAN_ENABLE_COMPONENT_DEPENDS ON)

# Every package carries its copyright statement and changelog, as Debian requires.
set(changelog_dir ${CMAKE_CURRENT_BINARY_DIR}/changelog)
file(MAKE_DIRECTORY ${changelog_dir})
file(WRITE ${changelog_dir}/changelog
  "castwell (${PROJECT_VERSION}) stable; urgency=medium\n\n"
  "  * Release ${PROJECT_VERSION}.\n\n"
  " -- ${CASTWELL_MAINTAINER}  ${CASTWELL_CHANGELOG_DATE}\n")
add_custom_command(OUTPUT ${changelog_dir}/changelog.gz
  COMMAND ${GZIP_EXECUTABLE} -9nkf changelog
  DEPENDS ${changelog_dir}/changelog WORKING_DIRECTORY ${changelog_dir} VERBATIM)
add_custom_target(castwell_changelog ALL DEPENDS ${changelog_dir}/changelog.gz)

set(CPACK_COMPONENTS_ALL "")
foreach(package IN LISTS packages)
  string(REPLACE ":" ";" package ${package})
  list(GET package 0 component)
  list(GET package 1 name)
  list(GET package 2 section)
  string(TOUPPER ${component} upper)
  list(APPEND CPACK_COMPONENTS_ALL ${component})
  set(CPACK_DEBIAN_${upper}_PACKAGE_NAME ${name})
  set(CPACK_DEBIAN_${upper}_PACKAGE_SECTION ${section})
  install(FILES linux/copyright ${changelog_dir}/changelog.gz
    DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/${name} COMPONENT ${component})
endforeach()
# What lintian takes for a fault in these packages and is none, each with its reason.
foreach(package castwell:program kestal-emulator:emulator)
  string(REPLACE ":" ";" package ${package})
  list(GET package 0 name)
  list(GET package 1 component)
  install(FILES linux/${name}.lintian-overrides
    DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides RENAME ${name} COMPONENT ${component})
endforeach()

set(CPACK_GENERATOR DEB)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_PACKAGE_NAME castwell)
set(CPACK_PACKAGE_VENDOR Quendral)
set(CPACK_PACKAGE_CONTACT ${CASTWELL_MAINTAINER})
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SOURCE castwell)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://www.quendral.example/castwell)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Our own library is not installed where dpkg-shlibdeps looks; the relation to it comes from
# the components above.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${PROJECT_BINARY_DIR}/tindrel)
# Qt loads these as plugins, which no linker records: the SVG icon engine for the program's
# icons, and the multimedia backends (GStreamer for the camera, PulseAudio for the sound). Qt's
# GStreamer camera backend builds on GStreamer's camerabin (plugins-bad), which reads the device
# through v4l2src (plugins-good) and converts with the base elements: without them no camera is
# ever found, so they are needed, not recommended.
set(CPACK_DEBIAN_PROGRAM_PACKAGE_DEPENDS "libqt5svg5, libqt5multimedia5-plugins, \
gstreamer1.0-plugins-base, gstreamer1.0-plugins-good, gstreamer1.0-plugins-bad")
# pkexec asks for the rights to install the program's own updates.
set(CPACK_DEBIAN_PROGRAM_PACKAGE_RECOMMENDS pkexec)
set(CPACK_DEBIAN_PROGRAM_PACKAGE_CONTROL_EXTRA
  ${CMAKE_CURRENT_SOURCE_DIR}/linux/postinst ${CMAKE_CURRENT_SOURCE_DIR}/linux/postrm)
# Programs built against the library depend on this package from the version that brought the
# newest export they use (symbols), or from this version on for tools that read only the shlibs
# file; the loader's cache follows its installation and removal through dpkg's trigger.
file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/library/shlibs
  "libtindrel ${PROJECT_VERSION_MAJOR} libtindrel1 (>= ${PROJECT_VERSION})\n")
configure_file(linux/libtindrel1.symbols ${CMAKE_CURRENT_BINARY_DIR}/library/symbols COPYONLY)
file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/library/triggers "activate-noawait ldconfig\n")
set(CPACK_DEBIAN_LIBRARY_PACKAGE_CONTROL_EXTRA ${CMAKE_CURRENT_BINARY_DIR}/library/shlibs
  ${CMAKE_CURRENT_BINARY_DIR}/library/symbols ${CMAKE_CURRENT_BINARY_DIR}/library/triggers)
# What CPack cannot say: the library and its development files are co-installable for several
# architectures, and the library has no maintainer scripts beside the trigger. (The script sees
# the CPACK_ variables only.)
set(CPACK_POST_BUILD_SCRIPTS ${CMAKE_CURRENT_SOURCE_DIR}/DebianFinish.cmake)
set(CPACK_CASTWELL_MULTIARCH_SAME libtindrel1 libtindrel-dev)
set(CPACK_OUTPUT_FILE_PREFIX packages)
include(CPack)
