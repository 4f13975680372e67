# The Debian package: `cpack -G DEB` in a build folder makes corvane_<version>_amd64.deb from
# the install rules, its dependencies worked out from the executable by dpkg-shlibdeps.
set(CORVANE_APPSTREAM_ID com.mirelsoftware.corvane)
set(CORVANE_HOMEPAGE "https://corvane.mirelsoftware.example" CACHE STRING
    "Where the program's home page and its docs/ pictures are published")
# The release this version is; the change log and the AppStream data carry it.
set(CORVANE_RELEASE_DATE 2026-12-07)
set(CORVANE_RELEASE_DATE_RFC2822 "Mon, 07 Dec 2026 12:00:00 +0000")

set(CPACK_PACKAGE_NAME corvane)
set(CPACK_PACKAGE_VENDOR "Mirel Software")
set(CPACK_PACKAGE_CONTACT "Mirel Software <corvane@mirelsoftware.example>")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "desktop editor for Intel HEX firmware images")
# the summary line comes first; CPack indents these lines below it
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Corvane opens one Intel HEX file, the text format in which firmware images
and EPROM contents pass between compilers, device programmers and debuggers,
and shows one segment at a time as a hex dump with words of 1 to 4 bytes in
either byte order. Bytes can be overwritten, inserted and deleted in the
dump; the image can be saved, reloaded and printed.")
set(CPACK_GENERATOR DEB)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${CORVANE_HOMEPAGE})
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# the dump's font, "Courier New", is drawn with its metric twin
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS fonts-liberation2)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_STRIP_FILES ON)
# DESTDIR tells the install rules that a package, not a user, is installing: the desktop's
# caches are the package triggers' business then.
set(CPACK_SET_DESTDIR ON)
set(CPACK_INSTALL_PREFIX /usr)
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
include(CPack)
