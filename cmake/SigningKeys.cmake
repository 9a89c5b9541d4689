# Chooses the public key that a kind of download must be signed with. Packages trust the release
# key, whose private half is kept by the maker; scripts/build chooses the development pair of the
# test data, so that the tests and the demonstrations can sign.
#
#   signing_key(<cache variable> <description> <release key file> <development key file>)
#
# sets <cache variable>_FILE (the PEM file), <cache variable>_NAME (release, development or the
# file's name) and <cache variable>_PEM (its text).
function(signing_key variable description release_file development_file)
  set(${variable} "release" CACHE STRING
    "Key that ${description} must be signed with: release, development, or the path of a public key (PEM)")
  if(${variable} STREQUAL "release")
    set(file ${release_file})
    set(name release)
  elseif(${variable} STREQUAL "development")
    set(file ${development_file})
    set(name development)
  else()
    get_filename_component(file ${${variable}} ABSOLUTE)
    get_filename_component(name ${${variable}} NAME)
  endif()
  file(READ ${file} pem)
  if(NOT pem MATCHES "-----BEGIN PUBLIC KEY-----")
    message(FATAL_ERROR "${file} holds no public key in PEM form")
  endif()
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${file})
  set(${variable}_FILE ${file} PARENT_SCOPE)
  set(${variable}_NAME ${name} PARENT_SCOPE)
  set(${variable}_PEM "${pem}" PARENT_SCOPE)
endfunction()
