# Installation of Quillmere and its Debian package.
# Included at the end of the top CMakeLists.txt; paths are relative to the source tree.
#
#   cmake --install <build> --prefix <dir>     the program, desktop entry, icons, AppStream metainfo
#   cpack -G DEB  (in the build folder)        quillmere_<version>_<arch>.deb

include(GNUInstallDirs)

set(QM_APP_ID org.quillmere.Quillmere)
set(QM_HOMEPAGE_URL "https://quillmere.example.org/" CACHE STRING "Home page named in the package and the metainfo")
set(QM_ICON_SIZES 16 24 32 48 64 128 256)

# ---- The programs ----
install(TARGETS quillmere quillmere_picture quillmere_gallery RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# ---- Icons: PNG files rendered from the scalable icon at build time, by a small Qt tool ----
add_executable(quillmere_render_icon ${CMAKE_SOURCE_DIR}/packaging/render_icon.cpp)
target_link_libraries(quillmere_render_icon PRIVATE Qt6::Gui Qt6::Svg)
target_compile_options(quillmere_render_icon PRIVATE ${QM_WARNINGS})

set(QM_ICON_SVG ${CMAKE_SOURCE_DIR}/src/resources/quillmere.svg)
set(QM_ICON_DIR ${CMAKE_BINARY_DIR}/icons)
set(QM_ICON_PNGS)
foreach(size IN LISTS QM_ICON_SIZES)
  list(APPEND QM_ICON_PNGS ${QM_ICON_DIR}/${size}x${size}/quillmere.png)
endforeach()
add_custom_command(
  OUTPUT ${QM_ICON_PNGS}
  COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen
          $<TARGET_FILE:quillmere_render_icon> ${QM_ICON_SVG} ${QM_ICON_DIR} ${QM_ICON_SIZES}
  DEPENDS quillmere_render_icon ${QM_ICON_SVG}
  COMMENT "Rendering the program icon at 16 to 256 pixels"
  VERBATIM)
add_custom_target(quillmere_icons ALL DEPENDS ${QM_ICON_PNGS})

foreach(size IN LISTS QM_ICON_SIZES)
  install(FILES ${QM_ICON_DIR}/${size}x${size}/quillmere.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()
install(FILES ${QM_ICON_SVG} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

# ---- Desktop entry and AppStream metainfo (the metainfo's launchable names the desktop file) ----
install(FILES ${CMAKE_SOURCE_DIR}/packaging/${QM_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
configure_file(${CMAKE_SOURCE_DIR}/packaging/${QM_APP_ID}.metainfo.xml.in
               ${CMAKE_BINARY_DIR}/packaging/${QM_APP_ID}.metainfo.xml @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/packaging/${QM_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# ---- Debian package ----
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quillmere)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Quillmere developers")
set(CPACK_PACKAGE_CONTACT "The Quillmere developers <${QM_MAIL_ADDRESS}>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "drawing program for physics teachers' diagrams")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "The Quillmere developers <${QM_MAIL_ADDRESS}>")
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${QM_HOMEPAGE_URL})
# The summary above is the description's first line; this is the long description (CPack indents it).
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Quillmere draws the small diagrams printed in physics exercises and test
papers: rectangles, ellipses, sine waves, arrows, coordinate axes, grid
paper, rods, blocks, inclines and dimension arrows follow the pointer while
dragging. Regions can be selected, moved, flipped, rotated, copied and pasted
with other programs; text with physics symbols and units can be stamped on
the picture. Opens BMP and JPEG pictures and saves BMP. The interface is in
Simplified Chinese.")
# Qt's platform plugins (xcb) are loaded at run time, the Chinese interface needs a CJK font, and
# Qt's own buttons and dialogs speak Chinese through Qt's translations (qtbase_zh_CN.qm): none of
# them shows up among the programs' linked libraries. The linked libraries (Qt, its print support
# for 打印…, libjpeg, libpng and zlib, the C and C++ runtime) are found by dpkg-shlibdeps with
# their exact versions; without it they are named here.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-wqy-microhei, fonts-dejavu-core, qt6-translations-l10n")
find_program(QM_DPKG_SHLIBDEPS dpkg-shlibdeps)
if(QM_DPKG_SHLIBDEPS)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
else()
  string(PREPEND CPACK_DEBIAN_PACKAGE_DEPENDS
         "libqt6core6 (>= 6.4), libqt6gui6 (>= 6.4), libqt6widgets6 (>= 6.4), libqt6svg6 (>= 6.4), "
         "libqt6printsupport6 (>= 6.4), libjpeg62-turbo, libpng16-16 (>= 1.6), zlib1g, ")
endif()
include(CPack)
