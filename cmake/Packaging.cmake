# The Debian package of the Linux program: `cpack -G DEB` in a tree of the linux preset
# (scripts/package makes build/pkg for it). Adds nothing to what a build builds: the man
# page is made when installing, from the program just installed, and the Debian documents
# go only into the package.
if(NOT TARGET quillmere)
  return()
endif()
include(GNUInstallDirs)

set(QM_PACKAGE_MAINTAINER "The Quillmere developers <packages@quillmere.example>"
  CACHE STRING "Maintainer of the Debian package, as 'Name <address>'")
set(QM_DEB_PACKAGE quillmere)
set(QM_DEB_VERSION ${PROJECT_VERSION})

# Dates of the commit, not of the build, so that a rebuild of one commit gives the same
# documents.
execute_process(COMMAND git -C ${CMAKE_SOURCE_DIR} log -1 --format=%cD
  OUTPUT_VARIABLE QM_DEB_DATE OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
execute_process(COMMAND git -C ${CMAKE_SOURCE_DIR} log -1 --format=%cs
  OUTPUT_VARIABLE QM_MAN_DATE OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
if(NOT QM_DEB_DATE OR NOT QM_MAN_DATE)
  string(TIMESTAMP QM_DEB_DATE "%a, %d %b %Y %H:%M:%S +0000" UTC)
  string(TIMESTAMP QM_MAN_DATE "%Y-%m-%d" UTC)
endif()

# A stripped install (the package's) also drops the compiler's notes, as Debian's own
# packages do (lintian: binary-has-unneeded-section).
install(CODE "
  if(CMAKE_INSTALL_DO_STRIP)
    execute_process(COMMAND \"${CMAKE_OBJCOPY}\" --remove-section=.comment --remove-section=.note
      \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/quillmere\")
  endif()
")

# ---- the manual page, from the installed program's --help ---------------------
find_program(QM_PYTHON3 python3)
set(QM_MAKE_MANPAGE ${CMAKE_SOURCE_DIR}/packaging/make-manpage)
set(QM_MANPAGE_SECTIONS ${CMAKE_SOURCE_DIR}/packaging/manpage-sections.roff)
install(CODE "
  set(program \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/quillmere\")
  set(page \"${CMAKE_BINARY_DIR}/quillmere.1.gz\")
  execute_process(COMMAND \"${QM_PYTHON3}\" \"${QM_MAKE_MANPAGE}\" --program \"\${program}\"
      --version \"${PROJECT_VERSION}\" --date \"${QM_MAN_DATE}\"
      --include \"${QM_MANPAGE_SECTIONS}\" --output \"\${page}\"
    RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR \"no manual page could be made from \${program} --help\")
  endif()
  file(INSTALL \"\${page}\" DESTINATION \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_MANDIR}/man1\")
")

# ---- what Debian wants in /usr/share/doc/quillmere, for the package only ----------
# The version has no Debian revision, so the package counts as native and its changelog
# is changelog.gz (lintian: wrong-name-for-changelog-of-native-package).
set(QM_DEB_DIR ${CMAKE_BINARY_DIR}/debian)
configure_file(${CMAKE_SOURCE_DIR}/packaging/debian/changelog.in ${QM_DEB_DIR}/changelog @ONLY)
# -n: no name and time in the gzip header, as lintian asks.
execute_process(COMMAND gzip -9nf ${QM_DEB_DIR}/changelog RESULT_VARIABLE qm_gzip_failed)
if(qm_gzip_failed)
  message(FATAL_ERROR "gzip could not compress ${QM_DEB_DIR}/changelog")
endif()
install(FILES ${QM_DEB_DIR}/changelog.gz DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/${QM_DEB_PACKAGE}
  COMPONENT debian EXCLUDE_FROM_ALL)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/debian/copyright
  DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/${QM_DEB_PACKAGE} COMPONENT debian EXCLUDE_FROM_ALL)

# ---- CPack ----------------------------------------------------------------------
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ${QM_DEB_PACKAGE})
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Quillmere developers")
set(CPACK_PACKAGE_CONTACT ${QM_PACKAGE_MAINTAINER})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
# Both components in one package: the program's files and the Debian documents.
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_GROUPING ALL_COMPONENTS_IN_ONE)
set(CPACK_COMPONENTS_ALL Unspecified debian)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_NAME ${QM_DEB_PACKAGE})
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${QM_PACKAGE_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://www.quillmere.example")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "memory utility: watch memory and processor load, free up RAM")
# The synopsis is the summary above; this is only the long description under it.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Quillmere shows the machine's physical and swap memory and the processor
load, keeps history graphs of the available memory and frees physical RAM:
on demand, when memory runs low, at fixed intervals, once at start-up and
before it starts a program from the user's launcher list. It lives in the
system tray and can start with the desktop session.")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The update check opens libcurl and libcrypto only when it runs (dlopen), which
# dpkg-shlibdeps cannot see; a packaged copy leaves updates to apt, so they are
# recommended, as is the platform plugin of Wayland sessions.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland, libcurl4, libssl3")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
