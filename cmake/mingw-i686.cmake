# 32-bit Windows (the classic target), linked large-address-aware so a
# 64-bit Windows gives it 4 GB of address space.
set(QUILLMERE_MINGW_TRIPLE i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
string(APPEND CMAKE_EXE_LINKER_FLAGS_INIT " -Wl,--large-address-aware")
