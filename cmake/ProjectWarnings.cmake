# Warnings are errors in our own targets; third-party headers come in as system includes.
function(project_warnings target)
  target_compile_options(${target} PRIVATE
    -Wall -Wextra -Wpedantic -Werror -Wcast-align -Wformat=2
    -Wimplicit-fallthrough -Wshadow
    $<$<COMPILE_LANGUAGE:CXX>:-Wnon-virtual-dtor -Wold-style-cast -Woverloaded-virtual>)
  # GCC's flow analysis sees the sanitizers' instrumentation and then reports uninitialized
  # values inside the standard library's own templates (std::regex, std::function) that an
  # uninstrumented build does not; in sanitizer builds the warning stays, but does not stop the
  # build.
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND (ASAN_UBSAN OR TSAN))
    target_compile_options(${target} PRIVATE -Wno-error=maybe-uninitialized)
  endif()
endfunction()
