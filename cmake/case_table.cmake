# The case table of core/text.cpp, generated at build time from the Unicode
# Character Database that Debian's unicode-data package installs.
set(ORVALIS_UNICODE_DATA /usr/share/unicode/UnicodeData.txt CACHE FILEPATH
  "UnicodeData.txt of the Unicode Character Database (Debian's unicode-data)")

# Adds the command that writes case_table.h into the current build folder's
# generated/ and puts that folder into `folder_var`. Once per folder.
function(orvalis_case_table folder_var)
  if(NOT EXISTS ${ORVALIS_UNICODE_DATA})
    message(FATAL_ERROR "${ORVALIS_UNICODE_DATA} is missing: install Debian's unicode-data package "
      "(./dev.sh deps) or point ORVALIS_UNICODE_DATA at a UnicodeData.txt")
  endif()
  find_package(Python3 COMPONENTS Interpreter REQUIRED)
  set(folder ${CMAKE_CURRENT_BINARY_DIR}/generated)
  set(script ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/../core/case_table.py)
  add_custom_command(
    OUTPUT ${folder}/case_table.h
    COMMAND ${CMAKE_COMMAND} -E make_directory ${folder}
    COMMAND Python3::Interpreter ${script} ${ORVALIS_UNICODE_DATA} ${folder}/case_table.h
    DEPENDS ${script} ${ORVALIS_UNICODE_DATA}
    COMMENT "Generating the case table from ${ORVALIS_UNICODE_DATA}"
    VERBATIM)
  set(${folder_var} ${folder} PARENT_SCOPE)
endfunction()
