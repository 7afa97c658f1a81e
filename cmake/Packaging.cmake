# The vendor's tools as one Debian package, kestrane-tools, made by CPack from the
# host build (scripts/make-deb makes both trees and runs cpack):
#
#   /usr/bin/                 kpack, kskin, kestrane-uninstall (the uninstall twin:
#                             a plain "uninstall" would be a poor name in /usr/bin)
#   /usr/share/kestrane/      the setup stub, Uninstall.exe, the default skin (also
#                             drawn at 150 % and 200 %) with its description and
#                             preview, and example/, a small product
#   /usr/share/man/man1/      a manual page for each tool, compressed as Debian does
#   /usr/share/doc/kestrane-tools/  the vendor guide, the manifest reference, README
#
# The stub, Uninstall.exe and the example's programs are Windows programs: they
# come from the Windows tree named by KESTRANE_WINDOWS_TREE, built first with the
# targets kestrane_stub, Uninstall and demo_package. kpack looks for the stub beside
# itself and then in ../share/kestrane, so the installed tools need no setting.
# Host builds only.

set(KESTRANE_WINDOWS_TREE "" CACHE PATH
    "The Windows build whose setup stub, Uninstall.exe and demo product the package carries")

# `cpack` and `cmake --install` install what is built; they do not build the whole
# tree (tests, benchmarks, the demo) first. scripts/make-deb builds the `tools`
# target before it packs.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)

set(share "share/kestrane")
set(doc "share/doc/kestrane-tools")

install(TARGETS kskin RUNTIME DESTINATION bin)
# Installed as a target, so that it is stripped as the others are, then renamed.
install(TARGETS uninstall RUNTIME DESTINATION bin)
install(CODE [[
  set(bin "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/bin")
  file(RENAME "${bin}/uninstall" "${bin}/kestrane-uninstall")
]])
install(FILES "${KESTRANE_DEFAULT_SKIN}" "${KESTRANE_DEFAULT_GLYPHS}"
              "${CMAKE_BINARY_DIR}/skins/default@150.skin" "${CMAKE_BINARY_DIR}/skins/default@150.glyphs"
              "${CMAKE_BINARY_DIR}/skins/default@200.skin" "${CMAKE_BINARY_DIR}/skins/default@200.glyphs"
              "${CMAKE_BINARY_DIR}/skins/default-preview.png"
              "${CMAKE_SOURCE_DIR}/skins/default/skin.toml"
        DESTINATION "${share}")
install(FILES "${CMAKE_SOURCE_DIR}/README.md" "${CMAKE_SOURCE_DIR}/docs/vendor-guide.md"
              "${CMAKE_SOURCE_DIR}/docs/manifest.md" "${CMAKE_SOURCE_DIR}/docs/manifest.schema.json"
              "${CMAKE_SOURCE_DIR}/docs/package-format.md"
        DESTINATION "${doc}")
install(DIRECTORY "${CMAKE_SOURCE_DIR}/docs/pages" DESTINATION "${doc}")

# The manual pages, compressed as Debian keeps them: gzip -9 without a name or a
# time, so that the package is the same wherever it is made.
set(man_pages "")
foreach(page kpack.1 kskin.1 kestrane-uninstall.1)
  set(source "${CMAKE_SOURCE_DIR}/docs/man/${page}")
  set(packed "${CMAKE_BINARY_DIR}/man/${page}.gz")
  add_custom_command(
    OUTPUT "${packed}"
    COMMAND "${CMAKE_COMMAND}" -E make_directory "${CMAKE_BINARY_DIR}/man"
    COMMAND gzip -9nc "${source}" > "${packed}"
    DEPENDS "${source}"
    COMMENT "Compressing the manual page ${page}")
  list(APPEND man_pages "${packed}")
endforeach()
add_custom_target(man_pages ALL DEPENDS ${man_pages})
add_dependencies(tools man_pages)
install(FILES ${man_pages} DESTINATION share/man/man1)

if(KESTRANE_WINDOWS_TREE)
  set(windows "${KESTRANE_WINDOWS_TREE}")
  install(FILES "${windows}/stub/kestrane-stub.exe" "${windows}/bin/Uninstall.exe"
          DESTINATION "${share}")
  install(DIRECTORY "${windows}/examples/demo/product/" DESTINATION "${share}/example"
          USE_SOURCE_PERMISSIONS)
endif()

# Without the Windows pieces the package would install tools that cannot make a
# setup: cpack stops instead (`cmake --install` alone still works without them).
set(windows_check "${CMAKE_BINARY_DIR}/CPackWindowsTree.cmake")
file(WRITE "${windows_check}"
     "if(NOT EXISTS \"${KESTRANE_WINDOWS_TREE}/stub/kestrane-stub.exe\")\n"
     "  message(FATAL_ERROR \"no setup stub in the Windows tree '${KESTRANE_WINDOWS_TREE}': \"\n"
     "    \"set KESTRANE_WINDOWS_TREE to a Windows build with kestrane_stub, Uninstall and \"\n"
     "    \"demo_package built, or run scripts/make-deb\")\n"
     "endif()\n")
set(CPACK_PROJECT_CONFIG_FILE "${windows_check}")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kestrane-tools)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Kestrane Setup")
set(CPACK_PACKAGE_CONTACT "Kestrane Setup developers <kestrane@example.com>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "tools to build and sign Kestrane setups for Windows")
set(CPACK_PACKAGE_DESCRIPTION
    "kpack turns a manifest into a finished, optionally signed Windows setup program
without a compiler, and installs a setup headlessly into an emulated machine to
check it; kskin draws the skins of the setup's pages and previews them;
kestrane-uninstall removes a product from such a machine again. The package
carries the setup stub, the uninstaller, the default skin, a small example product
and the vendor guide.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION devel)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Signing needs osslsigncode; the default skin's description draws with Debian's
# Play and Cabin faces, and DejaVu for the letters above 127 they lack.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "osslsigncode, fonts-play, fonts-cabin, fonts-dejavu-core")
include(CPack)
