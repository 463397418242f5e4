# 32-bit Windows, down to the 95/98/Me family and processors without SSE.
set(CMAKE_SYSTEM_PROCESSOR i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
