# The Debian package: `cmake --build build --target package` writes
# vedivez_<version>_<arch>.deb of everything the install rules name, under /usr only.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vedivez)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_VENDOR "VediVEZ")
# CPACK_PACKAGE_CONTACT, the maintainer, is set with the other settable values in
# packaging/CMakeLists.txt: the changelog names it too.
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries the programs link, as dpkg-shlibdeps finds them.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The free Tahoma the windows are drawn with, and the Czech texts of Qt's file dialogs.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-wine, qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
if(VEDIVEZ_HOMEPAGE)
    set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${VEDIVEZ_HOMEPAGE})
endif()
# The first line is the package's summary; the rest is the long description, in English and
# Czech.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION [=[track-diagram panel editor for railway stations
VediVEZ composes the track-diagram panel (the relief) of a railway station
with relay interlocking: tracks, switches, crossings, double slips, track
ends and track-circuit boundaries on a grid of cells, saved as a .reru
station file. The package holds the editor (vedivez) and the headless
vedivez-tool, which checks, converts and lints station files and draws them
as PNG pictures or as PDF and SVG drawings for printing.

VediVEZ sestavuje reliéf železniční stanice s reléovým zabezpečovacím
zařízením: koleje, výhybky, křížení, anglické výhybky, zarážedla a hranice
kolejových obvodů na mřížce políček, uložený do souboru stanice .reru.
Balíček obsahuje editor (vedivez) a nástroj vedivez-tool, který soubory
stanic bez okna kontroluje, převádí a prověřuje a kreslí je jako obrázky
PNG nebo jako výkresy PDF a SVG pro tisk.]=])
include(CPack)
