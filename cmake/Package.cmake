# The Debian package, built by scripts/package with CPack over an existing build folder:
# glyphor_<version>_<arch>.deb, installed under /usr, its library dependencies computed from the
# binaries.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME glyphor)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Glyphor developers")
set(CPACK_PACKAGE_CONTACT "Glyphor maintainers <maintainers@glyphor.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "typing practice: a police race and four word games")
set(CPACK_PACKAGE_DESCRIPTION
    "Glyphor is a typing-practice game. In its police-and-thief race every correct\nkey speeds up your runner on a closed circuit through a little town, against\nthe computer or a second player on the local network. Four more games\npractise letters and words: apples, moles, a frog and a space shooter that\nkeeps the ten best scores.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/package)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Found through fontconfig at run time, so no library dependency names them.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-wqy-zenhei, fonts-liberation2")
include(CPack)
