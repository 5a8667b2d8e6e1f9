# What `cmake --install` puts beside the program (see hosts/cli for the program,
# its manual page and bash completion), and the Debian package made of it all by
# `cpack -G DEB`.
include(GNUInstallDirs)
set(ORVANE_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/orvane)
install(FILES samples/address-book.json samples/mail-store.json
        DESTINATION ${CMAKE_INSTALL_DATADIR}/orvane/samples)
install(FILES README.md DESTINATION ${ORVANE_DOC_DIR})

set(CPACK_PACKAGE_NAME orvane)
set(CPACK_PACKAGE_VENDOR Orvane)
set(CPACK_PACKAGE_CONTACT "Orvane maintainers <maintainers@orvane.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "export contacts and calendar entries into vCard and vCalendar files")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "The orvane command line runs the Orvane component: it counts, lists and exports\n\
the contacts of an address book and the contacts and calendar entries of a mail\n\
store, kept as JSON files, into vCard 2.1 and vCalendar files in a code page of\n\
choice, with progress and a run log. Sample stores are included.")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# The dependencies are read off the program's shared libraries by dpkg-shlibdeps.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_STRIP_FILES ON)
# The manual page names the folders of CMAKE_INSTALL_PREFIX, so the package uses
# the same prefix: configure with -DCMAKE_INSTALL_PREFIX=/usr for a Debian package.
set(CPACK_PACKAGING_INSTALL_PREFIX ${CMAKE_INSTALL_PREFIX})
set(CPACK_GENERATOR DEB)
include(CPack)
