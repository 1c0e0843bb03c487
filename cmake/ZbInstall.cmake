# The installed tree, its CMake and pkg-config packages, and the Debian
# package made of it (cpack -G DEB in the build directory):
#
#   bin/zbsvc                                   (ZbTools/zbsvc.m)
#   lib/libQORZbServices.so.1, lib/libKX0CORE.so.1 and their links
#   include/zbzb/                                exported headers of both libraries
#   lib/cmake/QORZbServices/                     find_package(QORZbServices)
#   lib/pkgconfig/qorzbservices.pc
#   share/zbzb/msgcatalog/                       message catalogs
#   share/zbzb/RUNTIME/tools/data/zbXmlKeys.mk   XML keys file
#   share/zbzb/env.sh                            the environment of the tree
#   share/man/man1/zbsvc.1                       (ZbTools/zbsvc.m)
#
# The libraries stay in lib/ whatever the platform's habit: the catalogs are
# found from the directory of libKX0CORE.so (../share/zbzb/msgcatalog), and
# the programs from their own (RUNPATH $ORIGIN/../lib).  share/zbzb is an
# installation root for ZbzbINSTALL_PATH: its data search path
# (ROOT/./RUNTIME/tools/data) finds the XML keys file.
include(CMakePackageConfigHelpers)

set(ZB_PACKAGE_DIR lib/cmake/QORZbServices)

install(TARGETS QORZbServices KX0CORE EXPORT QORZbServicesTargets
  LIBRARY DESTINATION lib)
install(DIRECTORY
  ${CMAKE_SOURCE_DIR}/KX0Foundation/PublicInterfaces/
  ${CMAKE_SOURCE_DIR}/ZbUtilities/PublicInterfaces/
  DESTINATION ${ZB_INSTALL_INCLUDEDIR} FILES_MATCHING PATTERN "*.h")

file(GLOB ZB_CATALOGS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/ZbUtilities/resources/*.msgcat)
install(FILES ${ZB_CATALOGS} DESTINATION share/zbzb/msgcatalog)
install(FILES ${CMAKE_SOURCE_DIR}/ZbUtilities/resources/zbXmlKeys.mk
  DESTINATION share/zbzb/${ZB_OS_RUNTIME}/tools/data)

install(EXPORT QORZbServicesTargets NAMESPACE QORZbServices:: DESTINATION ${ZB_PACKAGE_DIR})
configure_package_config_file(${CMAKE_SOURCE_DIR}/cmake/QORZbServicesConfig.cmake.in
  ${CMAKE_BINARY_DIR}/QORZbServicesConfig.cmake INSTALL_DESTINATION ${ZB_PACKAGE_DIR})
write_basic_package_version_file(${CMAKE_BINARY_DIR}/QORZbServicesConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_BINARY_DIR}/QORZbServicesConfig.cmake
  ${CMAKE_BINARY_DIR}/QORZbServicesConfigVersion.cmake DESTINATION ${ZB_PACKAGE_DIR})

configure_file(${CMAKE_SOURCE_DIR}/cmake/qorzbservices.pc.in
  ${CMAKE_BINARY_DIR}/qorzbservices.pc @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/qorzbservices.pc DESTINATION lib/pkgconfig)

# The package's copyright and its changelog (compressed as Debian's are,
# gzip -9n: no name, no time, the same bytes at every build).
install(FILES ${CMAKE_SOURCE_DIR}/cmake/debian/copyright DESTINATION share/doc/qorzbservices)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
  ${CMAKE_SOURCE_DIR}/cmake/debian/changelog)
file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/share/doc/qorzbservices)
execute_process(COMMAND ${ZB_FOUND_gzip} -9n -c ${CMAKE_SOURCE_DIR}/cmake/debian/changelog
  OUTPUT_FILE ${CMAKE_BINARY_DIR}/share/doc/qorzbservices/changelog.gz COMMAND_ERROR_IS_FATAL ANY)
install(FILES ${CMAKE_BINARY_DIR}/share/doc/qorzbservices/changelog.gz
  DESTINATION share/doc/qorzbservices)

# The Debian package: the whole tree under /usr, its dependencies computed
# from what the programs and libraries link (dpkg-shlibdeps), ldconfig run
# through dpkg's trigger on installation and removal.  What lintian says of
# it beyond errors (scripts/deb-lint.sh), and why it stays:
# - package-name-doesnt-match-sonames, link-to-shared-library-in-wrong-package:
#   one package holds the tool, both libraries and their development files,
#   where Debian's own packaging would make libqorzbservices1, libkx0core1,
#   a -dev package and a zbsvc package of them;
# - pkg-config-unavailable-for-cross-compilation: the libraries stay in lib/
#   whatever the platform's habit (see above), and their .pc file beside them;
# - informational tags (hardening, symbols file, .comment sections) are not
#   acted on.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME qorzbservices)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
  "services library of the zbzb build tool, its foundation library and zbsvc")
# The long description, lines of at most 80 characters.
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
  "libQORZbServices is the services library of the zbzb build tool and of the"
  "tools around it: the build context, catalog messages mirrored into an XML"
  "trace, option parsing, description files, file-system operations, header"
  "lists and maps, actions run as child processes, and the runtime-view model"
  "of an installation.  The package holds the library, its foundation library"
  "libKX0CORE, their headers, CMake and pkg-config files, and zbsvc, the"
  "command-line front end.")
set(CPACK_PACKAGE_CONTACT "zbzb maintainers <zbzb-maintainers@example.org>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
# Installed into a staging DESTDIR with the prefix /usr itself, so that
# what names the prefix (share/zbzb/env.sh) names /usr.
set(CPACK_SET_DESTDIR ON)
set(CPACK_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION devel)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
set(CPACK_POST_BUILD_SCRIPTS ${CMAKE_SOURCE_DIR}/cmake/ZbDebTriggers.cmake)
include(CPack)
