# `cpack -G DEB` (scripts/package.sh) packs the installation for Debian. The
# libraries the program links come from dpkg-shlibdeps; the Japanese UI font
# and Qt's window-system plugins are named here because nothing links them.
set(CPACK_PACKAGE_NAME planimo)
set(CPACK_PACKAGE_VENDOR "The Planimo developers")
set(CPACK_PACKAGE_CONTACT "The Planimo developers <maintainers@planimo.example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "measure distances, areas and positions on scanned drawings")
string(JOIN "\n" CPACK_DEBIAN_PACKAGE_DESCRIPTION
  "Planimo measures on a scanned or plotted drawing or map (JPEG, GIF, BMP, PNG,"
  "TIFF, PDF): calibrate the image from known lengths or from two points of"
  "known longitude and latitude,"
  "then measure distances, radii, routes, areas and positions by clicking."
  "Measurements stay on the drawing, are converted between 14 distance and 14"
  "area units, saved as a project, exported as CSV or bitmap and printed."
  "The user interface is Japanese.")
set(CPACK_PACKAGE_HOMEPAGE_URL ${PLANIMO_HOMEPAGE})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_OUTPUT_FILE_PREFIX ${PROJECT_SOURCE_DIR}/out)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# PDF drawings render through QtPdf, TIFF scans decode through libtiff, the
# GeoPackage export loads GDAL when it runs (not found by the shlibdeps).
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-ipafont-gothic, qt6-qpa-plugins, libqt6pdf6, libtiff6, libgdal32")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils, qt6-translations-l10n")

include(CPack)
