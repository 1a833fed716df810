# The Debian package (cpack -G DEB, or the target "package"): what the package adds to the
# program's install rules, and how CPack makes yorimo_<version>_<arch>.deb of them.
include(GNUInstallDirs)

set(YORIMO_APP_ID io.github.yorimo.yorimo)
set(YORIMO_PACKAGE_MAINTAINER "yorimo maintainers <maintainers@yorimo.invalid>"
    CACHE STRING "The Maintainer of the Debian package and the signer of its changelog")
# The changelog wants the release date in RFC 2822 form.
execute_process(COMMAND date -u -R -d "${YORIMO_RELEASE_DATE} 00:00:00"
                OUTPUT_VARIABLE YORIMO_RELEASE_DATE_RFC2822 OUTPUT_STRIP_TRAILING_WHITESPACE
                RESULT_VARIABLE date_status)
if(NOT date_status EQUAL 0)
  message(FATAL_ERROR "cannot format the release date ${YORIMO_RELEASE_DATE}")
endif()

# Texts that carry the version, made from the one in project(); the man pages and the changelog
# are compressed the way Debian wants them (gzip -9n: no name or time stamp inside).
set(package_dir ${PROJECT_BINARY_DIR}/packaging)
configure_file(${PROJECT_SOURCE_DIR}/desktop/${YORIMO_APP_ID}.metainfo.xml.in
               ${package_dir}/${YORIMO_APP_ID}.metainfo.xml @ONLY)
foreach(text man/yorimo.1 man/yorimo-cli.1 packaging/changelog)
  get_filename_component(name ${text} NAME)
  configure_file(${PROJECT_SOURCE_DIR}/${text}.in ${package_dir}/${name} @ONLY)
  execute_process(COMMAND gzip -9n -c ${package_dir}/${name} OUTPUT_FILE ${package_dir}/${name}.gz
                  RESULT_VARIABLE gzip_status)
  if(NOT gzip_status EQUAL 0)
    message(FATAL_ERROR "gzip failed on ${package_dir}/${name}")
  endif()
endforeach()

install(FILES ${package_dir}/${YORIMO_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${package_dir}/yorimo.1.gz ${package_dir}/yorimo-cli.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/copyright ${package_dir}/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/yorimo)
install(FILES ${PROJECT_SOURCE_DIR}/examples/sample.yrm DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/yorimo/examples)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME yorimo)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR Brindlecap)
set(CPACK_PACKAGE_CONTACT ${YORIMO_PACKAGE_MAINTAINER})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "ticket book for the toto and BIG sports lotteries")
set(CPACK_PACKAGE_DESCRIPTION_FILE ${PROJECT_SOURCE_DIR}/packaging/description.txt)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ
    GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# The libraries come from the binaries (print support, libqt6printsupport6, among them); what Qt
# loads at run time does not show there: the SVG icon engine and image plugin (libqt6svg6), the
# Japanese texts of Qt's own buttons, a font with Japanese glyphs, and the font of the printed
# pages (IPA P Gothic, whose text reads back from a PDF). The X11 platform plugin is in
# libqt6gui6, which the binaries pull in.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6svg6, qt6-translations-l10n, fonts-noto-cjk, fonts-ipafont-gothic")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland")
include(CPack)
