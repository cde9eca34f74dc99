# Orvalis setups from CPack. A project names its product and includes this
# module before CPack; `cpack -G External` then packs the project's install
# tree into one setup executable with orvalis-pack:
#
#   set(ORVALIS_PRODUCT Hello)                   # the key of the software-list entry and the settings
#   set(ORVALIS_PRODUCT_NAME "Hallo wereld")     # the product's name in Dutch
#   set(ORVALIS_PRODUCT_NAME_ENU "Hello world")  # in English (the Dutch name when not set)
#   set(ORVALIS_PROGRAM hello.exe)               # the program, relative to the install tree
#   set(ORVALIS_DESCRIPTOR_LINES "ShortCuts=create")  # optional: more Key=Value lines of DISK.ID
#   include(OrvalisCPack)
#   include(CPack)
#
# The setup's version is CPACK_PACKAGE_VERSION (the project's version unless
# the project sets it), and the setup is written as CPACK_PACKAGE_FILE_NAME.exe.
# The packer and the setup stub are those installed with this module
# (bin/orvalis-pack and share/orvalis-pack/OrvalisSetup.exe under its prefix),
# or those that ORVALIS_PACK and ORVALIS_SETUP_STUB name.
include_guard(GLOBAL)

get_filename_component(_orvalis_cpack_prefix "${CMAKE_CURRENT_LIST_DIR}/../../.." ABSOLUTE)
# The packer runs on the build machine: it is looked for there, never in the target's roots.
find_program(ORVALIS_PACK orvalis-pack HINTS "${_orvalis_cpack_prefix}/bin" NO_CMAKE_FIND_ROOT_PATH
  DOC "orvalis-pack, the packer that makes the setup")
set(_orvalis_cpack_stub "")
if(EXISTS "${_orvalis_cpack_prefix}/share/orvalis-pack/OrvalisSetup.exe")
  set(_orvalis_cpack_stub "${_orvalis_cpack_prefix}/share/orvalis-pack/OrvalisSetup.exe")
endif()
set(ORVALIS_SETUP_STUB "${_orvalis_cpack_stub}" CACHE FILEPATH "OrvalisSetup.exe, the setup the product is packed into")

foreach(_orvalis_cpack_var ORVALIS_PRODUCT ORVALIS_PRODUCT_NAME ORVALIS_PROGRAM)
  if("${${_orvalis_cpack_var}}" STREQUAL "")
    message(FATAL_ERROR "OrvalisCPack: set ${_orvalis_cpack_var} before include(OrvalisCPack)")
  endif()
endforeach()
if(NOT ORVALIS_PACK)
  message(FATAL_ERROR "OrvalisCPack: orvalis-pack is not found; name it with -DORVALIS_PACK=path/to/orvalis-pack")
endif()
if(NOT EXISTS "${ORVALIS_SETUP_STUB}")
  message(FATAL_ERROR "OrvalisCPack: the setup stub \"${ORVALIS_SETUP_STUB}\" is not found; name it with "
    "-DORVALIS_SETUP_STUB=path/to/OrvalisSetup.exe")
endif()

if(NOT DEFINED CPACK_GENERATOR)
  set(CPACK_GENERATOR External)
endif()
set(CPACK_EXTERNAL_ENABLE_STAGING ON)
set(CPACK_EXTERNAL_REQUESTED_VERSIONS "1.0")
set(CPACK_EXTERNAL_PACKAGE_SCRIPT "${CMAKE_CURRENT_LIST_DIR}/OrvalisCPackExternal.cmake")
# The setup installs the tree into a folder of its own choosing: the tree is staged from its root.
if(NOT DEFINED CPACK_PACKAGING_INSTALL_PREFIX)
  set(CPACK_PACKAGING_INSTALL_PREFIX "/")
endif()
# CPack hands its script only the CPACK_ variables.
set(CPACK_ORVALIS_PACK "${ORVALIS_PACK}")
set(CPACK_ORVALIS_SETUP_STUB "${ORVALIS_SETUP_STUB}")
set(CPACK_ORVALIS_PRODUCT "${ORVALIS_PRODUCT}")
set(CPACK_ORVALIS_PRODUCT_NAME "${ORVALIS_PRODUCT_NAME}")
if(DEFINED ORVALIS_PRODUCT_NAME_ENU)
  set(CPACK_ORVALIS_PRODUCT_NAME_ENU "${ORVALIS_PRODUCT_NAME_ENU}")
else()
  set(CPACK_ORVALIS_PRODUCT_NAME_ENU "${ORVALIS_PRODUCT_NAME}")
endif()
set(CPACK_ORVALIS_PROGRAM "${ORVALIS_PROGRAM}")
set(CPACK_ORVALIS_DESCRIPTOR_LINES "${ORVALIS_DESCRIPTOR_LINES}")

unset(_orvalis_cpack_prefix)
unset(_orvalis_cpack_stub)
unset(_orvalis_cpack_var)
