# The Debian package, made by CPack from the installed tree (`cpack -G DEB` in the build
# folder, or scripts/package.sh). Its Depends line comes from dpkg-shlibdeps, so it names the
# libraries the programs were linked against on the machine that builds it.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME lucivanta)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Lucivanta developers")
# .invalid: the project has no mail address of its own yet.
set(CPACK_PACKAGE_CONTACT "The Lucivanta developers <maintainers@lucivanta.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "endlessly changing, layered kaleidoscope screen saver")
# The long description; CPack puts the summary above it and indents it as Debian wants.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Lucivanta draws three kaleidoscope layers with random mirror symmetries,
textured with a plasma, sine-wave bands and a scrolling gradient computed
on the processor every frame, with wall images, backdrops and optional MP3
music whose title fades in.

It runs under XScreenSaver, the Xfce and MATE screen savers and XSecureLock
(lucivanta --root), full screen, or in a configuration window with menus and
slider dialogs. lucivanta-render draws the same scene into PNG files without
a display.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION x11)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Plug-ins are loaded at run time, so shlibdeps cannot see them: decoding and playing the music,
# and the text of the titles.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "gstreamer1.0-plugins-base, gstreamer1.0-plugins-good, fonts-liberation2")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "xscreensaver | xfce4-screensaver | xsecurelock")
include(CPack)
