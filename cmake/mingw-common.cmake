# Shared part of the two MinGW-w64 toolchain files.
set(CMAKE_C_COMPILER ${ORVALIS_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${ORVALIS_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${ORVALIS_MINGW_TRIPLE}-windres)
# ORVALIS_JPEG_ROOT (a libjpeg-turbo install for this target) is searched as
# well, and so is every folder of CMAKE_PREFIX_PATH: a prefix named there holds
# Windows packages (such as the control package's SDK), so it is one more root
# of the target rather than a folder below the MinGW root.
set(CMAKE_FIND_ROOT_PATH /usr/${ORVALIS_MINGW_TRIPLE} ${ORVALIS_JPEG_ROOT} ${CMAKE_PREFIX_PATH})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
