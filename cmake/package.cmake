# `cpack -G DEB` in a build folder: vetrix_VERSION_ARCH.deb holding what
# `cmake --install` installs under /usr (the program, its manual page, the
# library, the headers, the CMake package and vetrix.pc). Configure with
# -DBUILD_SHARED_LIBS=ON for a package that ships libvetrix.so.MAJOR. Its
# run-time dependencies are those of the built files, as dpkg-shlibdeps
# finds them (the C and C++ runtimes and the decompression libraries the
# build found), or the same list named here where dpkg-shlibdeps or file,
# which CPack needs beside it, is missing.
set(CPACK_PACKAGE_NAME vetrix)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "conflict-driven SAT solver: command line, C++/C library and headers")
set(CPACK_PACKAGE_DESCRIPTION "vetrix decides DIMACS CNF formulas (plain, gzip, xz or bzip2), once or\n\
incrementally under assumptions, and certifies its UNSAT answers with DRAT\n\
or LRAT proofs. The package holds the command line vetrix, the library\n\
libvetrix with its C++, C and IPASIR headers, its CMake package and its\n\
pkg-config file.")
if(NOT CPACK_PACKAGE_CONTACT)
  set(CPACK_PACKAGE_CONTACT "vetrix maintainers <maintainers@vetrix.invalid>")
endif()
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
find_program(VETRIX_DPKG_SHLIBDEPS dpkg-shlibdeps)
find_program(VETRIX_FILE file)
if(VETRIX_DPKG_SHLIBDEPS AND VETRIX_FILE)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
else()
  set(vetrix_deb_depends libc6 libstdc++6 libgcc-s1)
  foreach(pair IN ITEMS "ZLIB_FOUND;zlib1g" "LIBLZMA_FOUND;liblzma5" "BZIP2_FOUND;libbz2-1.0")
    list(GET pair 0 found)
    list(GET pair 1 package)
    if(${found})
      list(APPEND vetrix_deb_depends ${package})
    endif()
  endforeach()
  string(REPLACE ";" ", " CPACK_DEBIAN_PACKAGE_DEPENDS "${vetrix_deb_depends}")
endif()
include(CPack)
