# Run by CPack's External generator for a project that included OrvalisCPack:
# writes the descriptor DISK.ID from the project's values and packs the staged
# install tree into the setup CPACK_PACKAGE_FILE_NAME.exe with orvalis-pack.
string(ASCII 13 10 _orvalis_crlf)

# The descriptor holds one Key=Value a line, with "_" for a blank in names
# and between the parts of a version, and "\" between folders.
string(REPLACE "/" "\\" _orvalis_program "${CPACK_ORVALIS_PROGRAM}")
set(_orvalis_lines
  "Product=${CPACK_ORVALIS_PRODUCT}"
  "Program=${_orvalis_program}")
foreach(_orvalis_pair "ProductName;${CPACK_ORVALIS_PRODUCT_NAME}" "ProductNameEnu;${CPACK_ORVALIS_PRODUCT_NAME_ENU}")
  list(GET _orvalis_pair 0 _orvalis_key)
  list(GET _orvalis_pair 1 _orvalis_value)
  string(REPLACE " " "_" _orvalis_value "${_orvalis_value}")
  list(APPEND _orvalis_lines "${_orvalis_key}=${_orvalis_value}")
endforeach()
string(REPLACE "." "_" _orvalis_version "${CPACK_PACKAGE_VERSION}")
list(APPEND _orvalis_lines "Version=${_orvalis_version}" ${CPACK_ORVALIS_DESCRIPTOR_LINES})

set(_orvalis_descriptor "")
foreach(_orvalis_line IN LISTS _orvalis_lines)
  if(_orvalis_line MATCHES "[\r\n]" OR NOT _orvalis_line MATCHES "^[A-Za-z]+=")
    message(FATAL_ERROR "OrvalisCPack: \"${_orvalis_line}\" is not one Key=Value line of the descriptor")
  endif()
  string(APPEND _orvalis_descriptor "${_orvalis_line}${_orvalis_crlf}")
endforeach()
file(WRITE "${CPACK_TOPLEVEL_DIRECTORY}/DISK.ID" "${_orvalis_descriptor}")

set(_orvalis_setup "${CPACK_TOPLEVEL_DIRECTORY}/${CPACK_PACKAGE_FILE_NAME}.exe")
execute_process(
  COMMAND "${CPACK_ORVALIS_PACK}" --stub "${CPACK_ORVALIS_SETUP_STUB}" --descriptor "${CPACK_TOPLEVEL_DIRECTORY}/DISK.ID"
    --files "${CPACK_TEMPORARY_DIRECTORY}" -o "${_orvalis_setup}"
  RESULT_VARIABLE _orvalis_status)
if(NOT _orvalis_status EQUAL 0)
  message(FATAL_ERROR "OrvalisCPack: orvalis-pack failed (${_orvalis_status})")
endif()
set(CPACK_EXTERNAL_BUILT_PACKAGES "${_orvalis_setup}")
