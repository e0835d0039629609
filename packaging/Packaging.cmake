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
# What they say about the picture formats (the media types offered to "Open with", the formats
# opened and saved) is filled in from the picture-format table by a small tool when the program is
# built; so is the package's description below.
add_executable(quillmere_format_texts ${CMAKE_SOURCE_DIR}/packaging/FormatTexts.cpp)
target_link_libraries(quillmere_format_texts PRIVATE quillmere_document Qt6::Core)
target_compile_options(quillmere_format_texts PRIVATE ${QM_WARNINGS})

set(QM_PACKAGING_DIR ${CMAKE_BINARY_DIR}/packaging)
configure_file(${CMAKE_SOURCE_DIR}/packaging/${QM_APP_ID}.metainfo.xml.in ${QM_PACKAGING_DIR}/${QM_APP_ID}.metainfo.xml.formats @ONLY)
set(QM_FORMAT_TEXTS)
foreach(pair "${CMAKE_SOURCE_DIR}/packaging/${QM_APP_ID}.desktop.in=${QM_APP_ID}.desktop"
             "${QM_PACKAGING_DIR}/${QM_APP_ID}.metainfo.xml.formats=${QM_APP_ID}.metainfo.xml"
             "${QM_PACKAGING_DIR}/CPackFormatTexts.cmake.formats=CPackFormatTexts.cmake")
  string(REPLACE "=" ";" pair "${pair}")
  list(GET pair 0 template)
  list(GET pair 1 name)
  add_custom_command(
    OUTPUT ${QM_PACKAGING_DIR}/${name}
    COMMAND quillmere_format_texts ${template} ${QM_PACKAGING_DIR}/${name}
    DEPENDS quillmere_format_texts ${template}
    COMMENT "Writing the picture formats into ${name}"
    VERBATIM)
  list(APPEND QM_FORMAT_TEXTS ${QM_PACKAGING_DIR}/${name})
endforeach()
add_custom_target(quillmere_format_texts_files ALL DEPENDS ${QM_FORMAT_TEXTS})
# The tests read the texts as built.
if(TARGET document_tests)
  add_dependencies(document_tests quillmere_format_texts_files)
endif()

install(FILES ${QM_PACKAGING_DIR}/${QM_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${QM_PACKAGING_DIR}/${QM_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

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
# The summary above is the description's first line; the long description (CPack indents it)
# comes from packaging/CPackFormatTexts.cmake.in, with what it says the program opens and saves
# filled in from the picture-format table when the program is built. CPack reads it when it runs.
set(CPACK_PROJECT_CONFIG_FILE ${QM_PACKAGING_DIR}/CPackFormatTexts.cmake)

# ---- What the package depends on ----
# The libraries the programs are linked with (Qt, libjpeg, the C and C++ runtime, and any linked
# later) are read off the built binaries by dpkg-shlibdeps, with their versions: nobody has to
# remember to name them. Without dpkg-shlibdeps (package dpkg-dev) no package is built, rather
# than one that does not declare them.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
find_program(QM_DPKG_SHLIBDEPS dpkg-shlibdeps)
if(NOT QM_DPKG_SHLIBDEPS)
  message(WARNING "dpkg-shlibdeps (package dpkg-dev) is missing: cpack -G DEB will refuse to build the package")
  set(QM_REFUSE_DEB ON)
else()
  set(QM_REFUSE_DEB OFF)
endif()
configure_file(${CMAKE_SOURCE_DIR}/packaging/CPackFormatTexts.cmake.in ${QM_PACKAGING_DIR}/CPackFormatTexts.cmake.formats @ONLY)
# What the program loads by itself at run time is not among the linked libraries: Qt's plugins,
# named here by their file in Qt's plugin folder (the package holding each is looked up on this
# machine; the name after "=" serves where it cannot be), and the data it reads.
set(QM_RUNTIME_PLUGINS
  platforms/libqxcb.so=libqt6gui6                                           # the window (X11, XWayland)
  platforminputcontexts/libcomposeplatforminputcontextplugin.so=libqt6gui6  # dead keys, compose
  imageformats/libqsvg.so=libqt6svg6                                        # SVG pictures (the icon)
  imageformats/libqwebp.so=qt6-image-formats-plugins                        # WebP pictures (打开)
  imageformats/libqtiff.so=qt6-image-formats-plugins                        # TIFF pictures (打开)
  printsupport/libcupsprintersupport.so=libqt6printsupport6)                # 打印…: the printers
set(QM_RUNTIME_DATA
  fonts-wqy-microhei       # the Chinese interface and labels: "WenQuanYi Micro Hei"
  fonts-dejavu-core        # the labels' superscript and subscript digits and the vector arrow
  qt6-translations-l10n)   # Qt's own buttons and dialogs in Chinese (qtbase_zh_CN.qm)
set(QM_RUNTIME_PACKAGES)
foreach(entry IN LISTS QM_RUNTIME_PLUGINS)
  string(REPLACE "=" ";" entry "${entry}")
  list(GET entry 0 plugin)
  list(GET entry 1 package)
  execute_process(COMMAND dpkg-query --search "${QT6_INSTALL_PREFIX}/${QT6_INSTALL_PLUGINS}/${plugin}"
                  OUTPUT_VARIABLE owner ERROR_QUIET RESULT_VARIABLE status)
  if(status EQUAL 0 AND owner MATCHES "^([^:, ]+)")
    set(package ${CMAKE_MATCH_1})
  endif()
  list(APPEND QM_RUNTIME_PACKAGES ${package})
endforeach()
list(APPEND QM_RUNTIME_PACKAGES ${QM_RUNTIME_DATA})
list(REMOVE_DUPLICATES QM_RUNTIME_PACKAGES)
list(JOIN QM_RUNTIME_PACKAGES ", " CPACK_DEBIAN_PACKAGE_DEPENDS)
include(CPack)
