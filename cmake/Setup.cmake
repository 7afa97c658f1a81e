# kestrane_add_setup(<name> PACKAGE <package.bin> [SKIN <skin.bin>] [OUTPUT_NAME <name>])
#
# Builds a setup program that carries the package (and the skin, by default ours):
# on Windows a GUI executable with its resources (the package as RC_DATA 112, the
# skin as RC_DATA 116, the title and class name as strings 1 and 2, icon group
# 105 and the application manifest); on the host the `setup` program with the
# same resources in its .kres section. Name a setup after its product
# (DemoProductSetup.exe): Windows treats a program called exactly setup.exe
# specially, so that name is refused.

set(KESTRANE_SETUP_MANIFEST "${CMAKE_CURRENT_LIST_DIR}/setup.manifest")

# The host build's tools and the art it draws: the Windows build takes them from
# there (KESTRANE_HOST_TOOLS), the host build from its own targets.
if(WIN32)
  if(NOT KESTRANE_HOST_TOOLS)
    message(FATAL_ERROR "The Windows build needs the host build's tools: -DKESTRANE_HOST_TOOLS=<host build>/bin")
  endif()
  set(KESTRANE_KPACK "${KESTRANE_HOST_TOOLS}/kpack")
  get_filename_component(_kestrane_host_build "${KESTRANE_HOST_TOOLS}" DIRECTORY)
  set(KESTRANE_SETUP_SKIN "${_kestrane_host_build}/skins/default.skin")
  set(KESTRANE_SETUP_ICON "${_kestrane_host_build}/skins/kestrane.ico")
else()
  set(KESTRANE_KPACK "$<TARGET_FILE:kpack>")
  set(KESTRANE_SETUP_SKIN "${CMAKE_BINARY_DIR}/skins/default.skin")
  set(KESTRANE_SETUP_ICON "${CMAKE_BINARY_DIR}/skins/kestrane.ico")
endif()

function(kestrane_add_setup name)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "PACKAGE;SKIN;OUTPUT_NAME" "")
  if(NOT arg_PACKAGE)
    message(FATAL_ERROR "kestrane_add_setup(${name}): PACKAGE is required")
  endif()
  if(NOT arg_SKIN)
    set(arg_SKIN "${KESTRANE_SETUP_SKIN}")
  endif()
  if(NOT arg_OUTPUT_NAME)
    set(arg_OUTPUT_NAME "${name}")
  endif()
  string(TOLOWER "${arg_OUTPUT_NAME}" lower)
  if(lower STREQUAL "setup" OR lower STREQUAL "setup.exe")
    message(FATAL_ERROR "kestrane_add_setup(${name}): a setup may not be called ${arg_OUTPUT_NAME}; "
                        "name it after its product")
  endif()

  add_executable(${name} WIN32 "${CMAKE_SOURCE_DIR}/src/app/Main.cpp")
  target_link_libraries(${name} PRIVATE ks_app)
  set_target_properties(${name} PROPERTIES OUTPUT_NAME "${arg_OUTPUT_NAME}")
  if(WIN32)
    # ASLR and DEP, said rather than left to the linker's defaults; ASLR keeps
    # the relocations in the file.
    target_link_options(${name} PRIVATE -Wl,--dynamicbase,--nxcompat)
  endif()
  kestrane_add_resources(${name}
    RCDATA 112 "${arg_PACKAGE}"
    RCDATA 116 "${arg_SKIN}"
    STRING 1 "Kestrane Setup"
    STRING 2 "KestraneSetupClass"
    ICON 105 "${KESTRANE_SETUP_ICON}"
    MANIFEST "${KESTRANE_SETUP_MANIFEST}")
  if(NOT WIN32)
    add_dependencies(${name} default_skin default_icon)
  endif()
endfunction()

# kestrane_add_package(<target> MANIFEST <manifest.toml> OUTPUT <package.bin> [DEPENDS ...])
#
# Runs kpack build at build time; the package is rebuilt when the manifest or a
# listed file changes.
function(kestrane_add_package target)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "MANIFEST;OUTPUT" "DEPENDS")
  set(kpack_target "")
  if(NOT WIN32)
    set(kpack_target kpack)
  endif()
  add_custom_command(
    OUTPUT "${arg_OUTPUT}"
    COMMAND "${KESTRANE_KPACK}" build "${arg_MANIFEST}" -o "${arg_OUTPUT}"
    DEPENDS "${arg_MANIFEST}" ${arg_DEPENDS} ${kpack_target}
    COMMENT "Packing ${arg_MANIFEST}"
    VERBATIM)
  add_custom_target(${target} DEPENDS "${arg_OUTPUT}")
endfunction()
