# The Debian package: `cpack -G DEB` in a Release build makes quorvella_VERSION_amd64.deb.
#
# The program, its desktop entry and its icons are installed where the program is built; this
# adds the rest of what an installed program carries (help pages, manual page, software centre
# metadata, copyright and changelog) and the package's own settings. Only the default install
# component goes into the package, so tools and tests that ever install anything must name a
# component of their own.
include(GNUInstallDirs)

set(qv_packaging_dir ${PROJECT_SOURCE_DIR}/cmake/debian)
set(qv_doc_dir ${CMAKE_INSTALL_DATADIR}/doc/quorvella)
set(qv_packaging_out ${CMAKE_BINARY_DIR}/packaging)

# The help pages the program puts into its data folder on first start, for reading without it.
install(FILES ${PROJECT_SOURCE_DIR}/res/help/enquorvella.htm
              ${PROJECT_SOURCE_DIR}/res/help/enquorvella.htc
        DESTINATION ${CMAKE_INSTALL_DATADIR}/quorvella/help)
install(FILES ${PROJECT_SOURCE_DIR}/res/desktop/io.github.quorvella.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${qv_packaging_dir}/copyright DESTINATION ${qv_doc_dir})

# Debian wants the changelog and the manual page compressed at the highest level and without a
# time stamp, so the same sources always give the same package.
find_program(QV_GZIP gzip REQUIRED)
function(qv_gzip source output)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${source})
  file(MAKE_DIRECTORY ${qv_packaging_out})
  execute_process(COMMAND ${QV_GZIP} -9 -n -c ${source}
                  OUTPUT_FILE ${qv_packaging_out}/${output} RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "cannot compress ${source}")
  endif()
endfunction()
qv_gzip(${qv_packaging_dir}/changelog changelog.gz)
qv_gzip(${PROJECT_SOURCE_DIR}/res/man/quorvella.1 quorvella.1.gz)
install(FILES ${qv_packaging_out}/changelog.gz DESTINATION ${qv_doc_dir})
install(FILES ${qv_packaging_out}/quorvella.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# The changelog, the metadata and the manual page name the version; a package whose files
# disagree with the project's version is not made. Ordinary builds only hear about it.
file(STRINGS ${qv_packaging_dir}/changelog qv_changelog_top LIMIT_COUNT 1)
file(READ ${PROJECT_SOURCE_DIR}/res/desktop/io.github.quorvella.metainfo.xml qv_metainfo)
file(STRINGS ${PROJECT_SOURCE_DIR}/res/man/quorvella.1 qv_man_title REGEX "^\\.TH ")
string(REGEX MATCH "^quorvella \\(([^)]*)\\)" _ "${qv_changelog_top}")
set(qv_changelog_version "${CMAKE_MATCH_1}")
string(REGEX MATCH "<release version=\"([^\"]*)\"" _ "${qv_metainfo}")
set(qv_metainfo_version "${CMAKE_MATCH_1}")
string(REGEX MATCH "\"quorvella ([^\"]*)\"" _ "${qv_man_title}")
set(qv_man_version "${CMAKE_MATCH_1}")
set(qv_version_mismatch "")
foreach(place IN ITEMS changelog metainfo man)
  if(NOT qv_${place}_version STREQUAL PROJECT_VERSION)
    string(APPEND qv_version_mismatch
           " ${place} has '${qv_${place}_version}' where the project has ${PROJECT_VERSION};")
  endif()
endforeach()
if(qv_version_mismatch)
  message(WARNING "Package files out of date:${qv_version_mismatch}")
  install(CODE "message(FATAL_ERROR \"Package files out of date:${qv_version_mismatch}\")")
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quorvella)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Quorvella developers")
set(CPACK_PACKAGE_CONTACT "Quorvella developers <quorvella@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "personal time registration by project and category")
set(CPACK_PACKAGE_DESCRIPTION
    "Quorvella keeps a personal record of working time. Each time record holds
a date, a duration, a project, a category and a short memo. The program
keeps a book of projects and a list of categories, shows the time spent per
category or per project over any range of days, deletes records one by one
or by date range with an undo list, and exports the records and both
reports as CSV files for a spreadsheet.

It keeps the compact 240 x 320 screen of the handheld it was first made
for, shown larger on the desktop, and stores its data in a local SQLite
database.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
# Only the default component: the program and the files above.
set(CPACK_INSTALL_CMAKE_PROJECTS "${CMAKE_BINARY_DIR};${PROJECT_NAME};Unspecified;/")
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${CPACK_PACKAGE_CONTACT}")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries come from the program's own links (dpkg-shlibdeps); the screen's faces, the
# browser that shows the help and Syncthing, which keeps the sync folder in step between
# computers, are wanted but not needed.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-dejavu-extra | fonts-liberation, xdg-utils, syncthing")

include(CPack)
