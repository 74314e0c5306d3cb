# The Debian package (./kv package runs cpack in a build configured with CMAKE_INSTALL_PREFIX=/usr). Library
# dependencies are computed by dpkg-shlibdeps; only what the maintainer scripts and the desktop need is named.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kv-server-manager)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX ${CMAKE_INSTALL_PREFIX})
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_CONTACT "${KV_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${KV_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION net)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The client library and the window module live in a private folder; dpkg-shlibdeps must know it is ours.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${CMAKE_BINARY_DIR}/bin)
# adduser for the service's system user (postinst); xdg-utils opens help pages and hands mails to the mail program.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "adduser")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "tools for administrators of Korvane dedicated servers")
# The synopsis is the summary above; this is the extended description.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "KV Server Manager keeps a library of server setups, generates the game's
configuration and start commands, runs setups under a live output monitor and
administers remote game-server hosts over an encrypted connection.
.
The package holds the desktop program kvmanager, the agent kvagent (with a
window, or headless as a systemd service that is installed disabled), the
command-line front end kvsm and the game server simulator kvsim.")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${KV_DEBIAN_CONTROL_EXTRA})
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
