# `cmake --install BUILD --prefix P`: the command line and its manual page
# vetrix(1), the library (static, or shared with BUILD_SHARED_LIBS), its
# public headers, the CMake package (find_package(vetrix 1.0 CONFIG) gives
# the imported target vetrix::vetrix; a request of another major number, 0.9
# or 2.0, is refused, as the shared library's SONAME libvetrix.so.1 says) and
# the pkg-config file vetrix.pc. Every installed path is relative to P, so
# the prefix can be chosen at install time.
include(CMakePackageConfigHelpers)

set(VETRIX_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/vetrix)
install(TARGETS vetrix RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(TARGETS ${VETRIX_LIBRARY} EXPORT vetrixTargets
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
  RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(DIRECTORY include/vetrix DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
configure_file(doc/vetrix.1.in ${CMAKE_CURRENT_BINARY_DIR}/vetrix.1 @ONLY)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/vetrix.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(EXPORT vetrixTargets NAMESPACE vetrix:: DESTINATION ${VETRIX_CMAKE_DIR})

# A shared library links its decompression libraries itself: only a program
# that links the static one needs them found.
get_target_property(vetrix_library_type ${VETRIX_LIBRARY} TYPE)
if(NOT vetrix_library_type STREQUAL STATIC_LIBRARY)
  set(VETRIX_DEPENDENCIES "")
endif()
configure_package_config_file(cmake/vetrixConfig.cmake.in
  ${CMAKE_CURRENT_BINARY_DIR}/vetrixConfig.cmake INSTALL_DESTINATION ${VETRIX_CMAKE_DIR})
write_basic_package_version_file(${CMAKE_CURRENT_BINARY_DIR}/vetrixConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/vetrixConfig.cmake ${CMAKE_CURRENT_BINARY_DIR}/vetrixConfigVersion.cmake
  DESTINATION ${VETRIX_CMAKE_DIR})

# vetrix.pc finds the prefix from its own place (${pcfiledir}). A static
# library leaves the C++ runtime to the program that links it, which may be
# a C program; a sanitized one, the sanitizer runtimes.
file(RELATIVE_PATH VETRIX_PC_TO_PREFIX /${CMAKE_INSTALL_LIBDIR}/pkgconfig /)
string(REGEX REPLACE "/$" "" VETRIX_PC_TO_PREFIX "${VETRIX_PC_TO_PREFIX}")
set(VETRIX_PC_LIBS "")
if(vetrix_library_type STREQUAL STATIC_LIBRARY)
  string(APPEND VETRIX_PC_LIBS "${VETRIX_PC_DEPENDENCIES} -lstdc++ -lm")
endif()
if(VETRIX_SANITIZE)
  string(APPEND VETRIX_PC_LIBS " -fsanitize=address,undefined")
endif()
configure_file(cmake/vetrix.pc.in ${CMAKE_CURRENT_BINARY_DIR}/vetrix.pc @ONLY)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/vetrix.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
