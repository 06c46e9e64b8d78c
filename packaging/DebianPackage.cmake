# CPack settings of the Debian package "corvane": the component "program" only (the SDK
# stays a `cmake --install --component sdk`), installed below /usr, its dependencies computed
# from the binaries by dpkg-shlibdeps.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME corvane)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Zelmar Industrial Automation")
set(CPACK_PACKAGE_CONTACT "Zelmar Industrial Automation <corvane@zelmar.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "desktop hub for industrial devices")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Corvane sets one communication link (serial Modbus ASCII or RTU, Ethernet,
or through the PORTHUB communication manager), searches it for programmable
controllers, drives and communication cards, and opens one configuration
module for every device found. Projects keep the open modules with their
data.
.
The package also holds corvane-devsim, a simulator of such devices.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_INSTALL_CMAKE_PROJECTS "${CMAKE_BINARY_DIR};${PROJECT_NAME};program;/")
set(CPACK_OUTPUT_FILE_PREFIX ${CMAKE_BINARY_DIR})
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# xdg-open opens the About box's link and the help documents.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "fonts-wqy-microhei")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA
    ${CMAKE_CURRENT_SOURCE_DIR}/postinst ${CMAKE_CURRENT_SOURCE_DIR}/postrm)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
