# The shipped 32-bit DLL. Its programs cannot run here (no 32-bit wine), so nothing runs them.
set(MINGW_TRIPLET i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
