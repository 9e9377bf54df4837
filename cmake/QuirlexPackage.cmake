# The Debian package of both programs (cpack -G DEB in a Release build):
# quirlex_VERSION_ARCH.deb with the programs, the desktop entry, the icon and
# the manual pages. Its dependencies come from dpkg-shlibdeps, so they name
# the Qt 6 runtime packages the programs were linked against.

set(QUIRLEX_PACKAGE_MAINTAINER
    "Quirlex maintainers <maintainers@users.noreply.c-seed-442033e2.example>"
    CACHE STRING "The Maintainer field of the Debian package")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quirlex)
set(CPACK_PACKAGE_VERSION ${QUIRLEX_VERSION})
set(CPACK_PACKAGE_VENDOR "Quirlex")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "shuffle the letters of words and restore scrambled texts")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_VERSION ${QUIRLEX_VERSION})
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${QUIRLEX_PACKAGE_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SECTION text)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The long description below the summary; CPack indents its lines.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Quirlex shuffles the interior letters of every word of a text (the first
and the last letter stay, so a person can still read it), saves and reloads
scrambled texts, builds a compact front-coded dictionary from a text corpus,
restores scrambled texts from that dictionary, optionally through prefix +
word + suffix variants, and reports how many characters came back correctly.

The package holds the Qt window, quirlex, and the console program for
scripts, quirlex-cli.")

include(CPack)
