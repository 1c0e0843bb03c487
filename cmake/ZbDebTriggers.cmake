# Run by CPack once the Debian package is made (CPACK_POST_BUILD_SCRIPTS):
# the ldconfig calls CPack writes into postinst and postrm give way to dpkg's
# ldconfig trigger.  Without a maintainer script, removing the package leaves
# nothing behind, not even dpkg's record of it (a postrm keeps the package
# in the "config-files" state until it is purged).
foreach(deb ${CPACK_PACKAGE_FILES})
  if(NOT deb MATCHES "\\.deb$")
    continue()
  endif()
  set(tree ${deb}.tree)
  file(REMOVE_RECURSE ${tree})
  execute_process(COMMAND dpkg-deb -R ${deb} ${tree} COMMAND_ERROR_IS_FATAL ANY)
  file(REMOVE ${tree}/DEBIAN/postinst ${tree}/DEBIAN/postrm)
  file(WRITE ${tree}/DEBIAN/triggers "activate-noawait ldconfig\n")
  execute_process(COMMAND dpkg-deb --root-owner-group -b ${tree} ${deb}
    OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)
  file(REMOVE_RECURSE ${tree})
endforeach()
