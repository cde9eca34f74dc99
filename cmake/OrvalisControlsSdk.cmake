# The control package's SDK: OrvalisControls.dll with include/, the MinGW
# import library, the .def file, an MSVC import library made from it and the
# CMake package OrvalisControls (the imported target Orvalis::Controls), packed
# as orvalis-controls-sdk-VERSION-win64.zip (or -win32) into ORVALIS_SDK_DIR.
# Included by the top-level list file after controls/, on Windows builds only.
include(CMakePackageConfigHelpers)

set(ORVALIS_SDK_DIR "${CMAKE_BINARY_DIR}" CACHE PATH "Where the control package's SDK zip is written")
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(orvalis_sdk_target win64)
  set(orvalis_sdk_machine i386:x86-64)
else()
  set(orvalis_sdk_target win32)
  set(orvalis_sdk_machine i386)
endif()
set(orvalis_sdk_name orvalis-controls-sdk-${PROJECT_VERSION}-${orvalis_sdk_target})
set(orvalis_sdk_build ${CMAKE_BINARY_DIR}/sdk)
set(orvalis_sdk_def ${orvalis_sdk_build}/OrvalisControls.def)
set(orvalis_sdk_lib ${orvalis_sdk_build}/OrvalisControls.lib)
set(orvalis_sdk_header ${PROJECT_SOURCE_DIR}/include/orvalis_controls.h)
set(orvalis_sdk_zip ${ORVALIS_SDK_DIR}/${orvalis_sdk_name}.zip)

# The linker writes the export list beside the DLL as a .def file. dlltool
# makes the MSVC import library from it: on x86 it gives each function the
# leading underscore that MSVC expects of a __cdecl name (_Class_Create and
# __imp__Class_Create) while the DLL is asked for the undecorated export.
target_link_options(OrvalisControls PRIVATE "LINKER:--output-def,${orvalis_sdk_def}")
if(NOT CMAKE_DLLTOOL)
  message(FATAL_ERROR "the MinGW dlltool is not found (Debian's binutils-mingw-w64, ./dev.sh deps)")
endif()
add_custom_command(OUTPUT ${orvalis_sdk_lib}
  COMMAND ${CMAKE_DLLTOOL} --machine ${orvalis_sdk_machine} --input-def ${orvalis_sdk_def}
    --dllname OrvalisControls.dll --output-lib ${orvalis_sdk_lib}
  DEPENDS OrvalisControls
  COMMENT "Making the MSVC import library OrvalisControls.lib"
  VERBATIM)

write_basic_package_version_file(${orvalis_sdk_build}/OrvalisControlsConfigVersion.cmake
  VERSION ${PROJECT_VERSION} COMPATIBILITY SameMajorVersion)

install(TARGETS OrvalisControls RUNTIME DESTINATION bin COMPONENT sdk ARCHIVE DESTINATION lib COMPONENT sdk)
install(FILES ${orvalis_sdk_header} DESTINATION include COMPONENT sdk)
install(FILES ${orvalis_sdk_def} ${orvalis_sdk_lib} DESTINATION lib COMPONENT sdk)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/OrvalisControlsConfig.cmake
  ${orvalis_sdk_build}/OrvalisControlsConfigVersion.cmake DESTINATION lib/cmake/OrvalisControls COMPONENT sdk)

# The zip holds one folder named like itself, staged by installing the sdk component.
add_custom_command(OUTPUT ${orvalis_sdk_zip}
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${orvalis_sdk_build}/stage
  COMMAND ${CMAKE_COMMAND} --install ${CMAKE_BINARY_DIR} --component sdk
    --prefix ${orvalis_sdk_build}/stage/${orvalis_sdk_name}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${ORVALIS_SDK_DIR}
  COMMAND ${CMAKE_COMMAND} -E chdir ${orvalis_sdk_build}/stage
    ${CMAKE_COMMAND} -E tar cf ${orvalis_sdk_zip} --format=zip ${orvalis_sdk_name}
  DEPENDS OrvalisControls ${orvalis_sdk_lib} ${orvalis_sdk_header} ${CMAKE_CURRENT_LIST_DIR}/OrvalisControlsConfig.cmake
    ${orvalis_sdk_build}/OrvalisControlsConfigVersion.cmake
  COMMENT "Packing the control package's SDK ${orvalis_sdk_name}.zip"
  VERBATIM)
add_custom_target(orvalis-controls-sdk ALL DEPENDS ${orvalis_sdk_zip})

# Inside this tree the sample host finds the package as an SDK user does,
# with find_package(OrvalisControls CONFIG): the redirect gives it the
# tree's own target under the SDK's name.
add_library(Orvalis::Controls ALIAS OrvalisControls)
target_include_directories(OrvalisControls INTERFACE $<BUILD_INTERFACE:${PROJECT_SOURCE_DIR}/include>)
file(WRITE ${CMAKE_FIND_PACKAGE_REDIRECTS_DIR}/orvaliscontrols-config.cmake
  "# Orvalis::Controls is this tree's OrvalisControls target (cmake/OrvalisControlsSdk.cmake).\n")
write_basic_package_version_file(${CMAKE_FIND_PACKAGE_REDIRECTS_DIR}/orvaliscontrols-config-version.cmake
  VERSION ${PROJECT_VERSION} COMPATIBILITY SameMajorVersion)
