# The public keys that firmware images and program updates must be signed with. Packages trust
# the release keys, whose private halves are kept by the maker; scripts/build chooses the
# development pairs of the test data, so that the demonstrations can sign. Tests always trust
# the development pairs, whatever the program was built with, since they sign with them.

# The PEM file of a key choice: release, development, or the path of a public key.
function(signing_key_file out choice release_file development_file)
  if(choice STREQUAL "release")
    set(file ${release_file})
  elseif(choice STREQUAL "development")
    set(file ${development_file})
  else()
    get_filename_component(file ${choice} ABSOLUTE)
  endif()
  file(READ ${file} pem)
  if(NOT pem MATCHES "-----BEGIN PUBLIC KEY-----")
    message(FATAL_ERROR "${file} holds no public key in PEM form")
  endif()
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${file})
  set(${out} ${file} PARENT_SCOPE)
endfunction()

#   add_signing_keys(<target> <firmware key choice> <update key choice>)
#
# An object library holding the keys, for a program or test to link: the firmware key as
# text (firmwarekeydata.cpp), the update key as the resource ":/dsa_pub.pem" and, for the release
# and development choices, the Ed25519 update key of the same origin as ":/ed25519_pub.pem".
function(add_signing_keys target firmware_choice update_choice)
  set(keys ${PROJECT_SOURCE_DIR}/app/resources/keys)
  set(test_keys ${PROJECT_SOURCE_DIR}/tests/data/keys)
  signing_key_file(firmware_file ${firmware_choice}
    ${keys}/firmware-release.pub.pem ${test_keys}/firmware-dev.pub.pem)
  signing_key_file(update_file ${update_choice} ${keys}/dsa_pub.pem ${test_keys}/update-dev-dsa.pub.pem)
  set(ed_entry "")
  if(update_choice STREQUAL "release" OR update_choice STREQUAL "development")
    signing_key_file(ed_file ${update_choice}
      ${keys}/update-release-ed25519.pub.pem ${test_keys}/update-dev-ed25519.pub.pem)
    set(ed_entry "    <file alias=\"ed25519_pub.pem\">${ed_file}</file>\n")
  endif()

  set(dir ${CMAKE_CURRENT_BINARY_DIR}/${target})
  get_filename_component(FIRMWARE_KEY_NAME ${firmware_choice} NAME)
  set(FIRMWARE_KEY_FILE ${firmware_file})
  file(READ ${firmware_file} FIRMWARE_KEY_PEM)
  configure_file(${PROJECT_SOURCE_DIR}/app/firmware/firmwarekeydata.cpp.in
    ${dir}/firmwarekeydata.cpp @ONLY)
  file(WRITE ${dir}/updatekey.qrc.in
    "<RCC>\n  <qresource prefix=\"/\">\n    <file alias=\"dsa_pub.pem\">${update_file}</file>\n${ed_entry}  </qresource>\n</RCC>\n")
  configure_file(${dir}/updatekey.qrc.in ${dir}/updatekey.qrc COPYONLY)
  # In the target's own folder, as every variant registers itself under the same resource name.
  # The signature check reads the key's bytes as PEM text: kept uncompressed.
  add_custom_command(OUTPUT ${dir}/qrc_updatekey.cpp
    COMMAND Qt5::rcc --name updatekey --no-compress --output ${dir}/qrc_updatekey.cpp
            ${dir}/updatekey.qrc
    DEPENDS ${dir}/updatekey.qrc ${update_file} ${ed_file} VERBATIM)

  add_library(${target} OBJECT ${dir}/firmwarekeydata.cpp ${dir}/qrc_updatekey.cpp)
  target_link_libraries(${target} PRIVATE Qt5::Core)
endfunction()
