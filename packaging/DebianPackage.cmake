# `cpack -G DEB` in the build folder makes ostrel_<version>_<arch>.deb there.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ostrel)
set(CPACK_PACKAGE_VENDOR Quillmere)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "desktop alarm that guards an unattended computer")
set(CPACK_PACKAGE_DESCRIPTION "\
Ostrel sounds an alarm when someone disturbs the computer while its owner
is away. It listens to the microphone and watches the mouse of the whole
desktop: a loud sound that lasts, a click, a wheel turn or a fast pointer
move sets off a random sequence of the chosen alarm sounds. A timed
simulation runs the alarm on a schedule. Every event goes to a time-stamped
report, and an armed alarm arms itself again after a restart.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Ostrel developers <${OSTREL_SUPPORT_ADDRESS}>")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${OSTREL_PRODUCT_PAGE})
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Links and e-mail open through the desktop; the sound settings in pavucontrol when it is there.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS xdg-utils)
set(CPACK_DEBIAN_PACKAGE_SUGGESTS pavucontrol)
include(CPack)
