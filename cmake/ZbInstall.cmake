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

# The Debian package: the whole tree under /usr, its dependencies computed
# from what the programs and libraries link (dpkg-shlibdeps), ldconfig run
# through dpkg's trigger on installation and removal.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME qorzbservices)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
  "services library of the zbzb build tool, its foundation library and zbsvc")
set(CPACK_PACKAGE_CONTACT "zbzb maintainers <zbzb@localhost>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
# Installed into a staging DESTDIR with the prefix /usr itself, so that
# what names the prefix (share/zbzb/env.sh) names /usr.
set(CPACK_SET_DESTDIR ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION devel)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
set(CPACK_POST_BUILD_SCRIPTS ${CMAKE_SOURCE_DIR}/cmake/ZbDebTriggers.cmake)
include(CPack)
