# The Orvalis control package for host programs: the imported target
# Orvalis::Controls, which is OrvalisControls.dll with its import library and
# include/orvalis_controls.h. A host links it and ships bin/OrvalisControls.dll
# beside its program ($<TARGET_RUNTIME_DLLS:...> names it).
get_filename_component(_orvalis_controls_prefix "${CMAKE_CURRENT_LIST_DIR}/../../.." ABSOLUTE)

if(NOT TARGET Orvalis::Controls)
  add_library(Orvalis::Controls SHARED IMPORTED)
  # MSVC's linker reads the import library that dlltool made from the .def;
  # MinGW's the one its linker made with the DLL. Both name the same functions.
  if(MSVC)
    set(_orvalis_controls_implib "${_orvalis_controls_prefix}/lib/OrvalisControls.lib")
  else()
    set(_orvalis_controls_implib "${_orvalis_controls_prefix}/lib/libOrvalisControls.dll.a")
  endif()
  set_target_properties(Orvalis::Controls PROPERTIES
    IMPORTED_LOCATION "${_orvalis_controls_prefix}/bin/OrvalisControls.dll"
    IMPORTED_IMPLIB "${_orvalis_controls_implib}"
    INTERFACE_INCLUDE_DIRECTORIES "${_orvalis_controls_prefix}/include")
  unset(_orvalis_controls_implib)
endif()

foreach(_orvalis_controls_file bin/OrvalisControls.dll include/orvalis_controls.h)
  if(NOT EXISTS "${_orvalis_controls_prefix}/${_orvalis_controls_file}")
    set(OrvalisControls_FOUND FALSE)
    set(OrvalisControls_NOT_FOUND_MESSAGE
      "${_orvalis_controls_prefix}/${_orvalis_controls_file} is missing: unpack the whole SDK")
  endif()
endforeach()
unset(_orvalis_controls_file)
unset(_orvalis_controls_prefix)
