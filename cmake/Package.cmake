# Installs what a desktop needs besides the programs, and describes the Debian package that
# scripts/package.sh builds with `cpack -G DEB`.
include(GNUInstallDirs)

# The project has no public address yet: this is the one place to change once it has.
set(VORNIX_HOMEPAGE "https://vornix.example" CACHE STRING "The project's web address")
set(VORNIX_MAINTAINER "The Vornix authors <maintainers@vornix.example>"
    CACHE STRING "Maintainer of the Debian package")

# The release lists are kept by hand; a version without its entry would ship stale ones.
foreach(history packaging/changelog packaging/vornix.metainfo.xml.in)
    file(READ ${CMAKE_SOURCE_DIR}/${history} text)
    string(FIND "${text}" "${PROJECT_VERSION}" at)
    if(at EQUAL -1)
        message(FATAL_ERROR "${history} has no entry for version ${PROJECT_VERSION}")
    endif()
endforeach()

set(metainfo ${CMAKE_BINARY_DIR}/packaging/example.vornix.Vornix.metainfo.xml)
configure_file(packaging/vornix.metainfo.xml.in ${metainfo} @ONLY)
install(FILES ${metainfo} DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES res/vornix-mime.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages
        RENAME vornix.xml)

set(doc ${CMAKE_INSTALL_DATADIR}/doc/vornix)
set(changelog ${CMAKE_BINARY_DIR}/packaging/changelog.gz)
add_custom_command(OUTPUT ${changelog}
                   COMMAND gzip -9n -c ${CMAKE_SOURCE_DIR}/packaging/changelog > ${changelog}
                   DEPENDS packaging/changelog)
add_custom_target(changelog ALL DEPENDS ${changelog})
install(FILES README.md packaging/copyright ${changelog} DESTINATION ${doc})

# Manual pages from the programs' own --help, where help2man is installed.
find_program(HELP2MAN help2man)
set(manpages)
if(HELP2MAN)
    set(programs vornix-cli "edit Tomb Raider SWD sprite wads from scripts"
        vornix-thumbnailer "draw a picture of an SWD sprite wad for file managers")
    if(VORNIX_BUILD_APP)
        list(APPEND programs vornix "edit Tomb Raider SWD sprite wads in a window")
    endif()
    while(programs)
        list(POP_FRONT programs program summary)
        set(page ${CMAKE_BINARY_DIR}/man/${program}.1)
        add_custom_command(OUTPUT ${page}.gz
                           COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/man
                           COMMAND ${HELP2MAN} --no-info --no-discard-stderr
                                   --name=${summary} --output=${page} $<TARGET_FILE:${program}>
                           COMMAND gzip -9nf ${page}
                           DEPENDS ${program})
        list(APPEND manpages ${page}.gz)
    endwhile()
    add_custom_target(manpages DEPENDS ${manpages})
    install(FILES ${manpages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 OPTIONAL)
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vornix)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR})
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "editor for Tomb Raider SWD sprite wads")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${VORNIX_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${VORNIX_HOMEPAGE})
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# Below the summary, which CPack puts first.
string(CONCAT CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Vornix edits the sprite wads (SWD files) that Tomb Raider level editors use:\n"
    "texture pages, the sprites cut out of them and the objects that group them.\n"
    "It adds, numbers and deletes objects, imports, resizes, splits and exports\n"
    "textures, moves objects between wads as SWO files and packs every texture\n"
    "afresh onto pages when saving.\n"
    "\n"
    "The package holds the editor, the command-line tool vornix-cli, a thumbnailer\n"
    "for file managers and the file types of sprite wads and objects.")
include(CPack)
