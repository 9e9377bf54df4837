# The Debian package of both programs (cpack -G DEB in a Release build):
# quirlex_VERSION_ARCH.deb with the programs, the desktop entry, the icon,
# the manual pages and, with QUIRLEX_READY_LEXICONS, the ready lexicons.
# Its dependencies come from dpkg-shlibdeps, so they name the Qt 6 runtime
# packages the programs were linked against.
include(GNUInstallDirs)

# The German and English lexicons made from Debian's packages by
# scripts/make-lexicons.sh with the quirlex-cli of this build, installed in
# share/quirlex/lexicons with their model files, affix lists and the
# copyright file of their sources.
option(QUIRLEX_READY_LEXICONS "Make the ready lexicons and install them (needs scripts/setup.sh --lexicons)" OFF)
if(QUIRLEX_READY_LEXICONS)
  set(lexicons ${CMAKE_BINARY_DIR}/lexicons)
  file(GLOB affix_lists CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/scripts/lexicons/*.txt)
  add_custom_command(
    OUTPUT ${lexicons}/de.dic ${lexicons}/en.dic ${lexicons}/copyright
    COMMAND ${PROJECT_SOURCE_DIR}/scripts/make-lexicons.sh --cli $<TARGET_FILE:quirlex-cli>
            ${lexicons}
    DEPENDS quirlex-cli ${PROJECT_SOURCE_DIR}/scripts/make-lexicons.sh
            ${PROJECT_SOURCE_DIR}/scripts/lexicon-sources.py ${affix_lists}
    COMMENT "Making the ready lexicons from Debian's packages"
    VERBATIM)
  add_custom_target(ready_lexicons ALL
    DEPENDS ${lexicons}/de.dic ${lexicons}/en.dic ${lexicons}/copyright)
  # The whole folder: every model file create-dictionary writes goes along.
  install(DIRECTORY ${lexicons}/ DESTINATION ${CMAKE_INSTALL_DATADIR}/quirlex/lexicons
          PATTERN ".work*" EXCLUDE)
endif()

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
scripts, quirlex-cli, and ready German and English lexicons made from
Debian's word lists, dictionaries and documentation.")

include(CPack)
