# kestrane_add_setup(<name> PACKAGE <package.bin> [SKIN <skin.bin> [GLYPHS <skin.glyphs>]]
#                    [MANIFEST <manifest.toml>] [OUTPUT_NAME <name>])
# kestrane_add_setup(<name> STUB [OUTPUT_NAME <name>])
#
# Builds a setup program that carries the package (and the skin, by default ours):
# on Windows a GUI executable with its resources (the package as RC_DATA 112, the
# skin as RC_DATA 116 and the high glyphs of its fonts as RC_DATA 117, the window
# name and class name as strings 1 and 2, icon group 105 and the application
# manifest); on the host the `setup` program with the same resources in its .kres
# section. A SKIN of the vendor's goes without high glyphs unless GLYPHS names
# the file kskin build wrote beside it. The skin drawn at 150 % and 200 % (kskin
# build writes NAME@150.skin, NAME@150.glyphs, NAME@200.skin and NAME@200.glyphs
# beside NAME.skin) goes along as RC_DATA 120 to 123: ours always, a vendor's
# when those files are there at configure time. A MANIFEST gives the texts of its
# [texts] section (the window name, the page header, the Welcome text) as the
# strings 1, 3 and 4, as kpack setup does. Name a setup after its product
# (DemoProductSetup.exe): Windows treats a program called exactly setup.exe
# specially, so that name is refused.
#
# A STUB is the same program without a package, which `kpack setup` turns into a
# finished setup by writing one into its resources. It is built so that the same
# sources give the same bytes in any build folder (no link time stamp, no build
# paths, stripped), keeps its relocations, so it still loads at a random address,
# and has its resource section just before them, where it can grow.

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
  set(KESTRANE_SETUP_GLYPHS "${_kestrane_host_build}/skins/default.glyphs")
  set(KESTRANE_SETUP_ICON "${_kestrane_host_build}/skins/kestrane.ico")
else()
  set(KESTRANE_KPACK "$<TARGET_FILE:kpack>")
  set(KESTRANE_SETUP_SKIN "${CMAKE_BINARY_DIR}/skins/default.skin")
  set(KESTRANE_SETUP_GLYPHS "${CMAKE_BINARY_DIR}/skins/default.glyphs")
  set(KESTRANE_SETUP_ICON "${CMAKE_BINARY_DIR}/skins/kestrane.ico")
endif()

# The RCDATA entries of the scaled skins beside `skin` (see above): every one
# when `all` is true, else those that exist.
function(_kestrane_scaled_skins out skin all)
  get_filename_component(dir "${skin}" DIRECTORY)
  get_filename_component(stem "${skin}" NAME_WLE)
  get_filename_component(ext "${skin}" LAST_EXT)
  set(entries "")
  set(id 120)
  foreach(percent 150 200)
    math(EXPR glyphs_id "${id} + 1")
    set(scaled "${dir}/${stem}@${percent}${ext}")
    set(glyphs "${dir}/${stem}@${percent}.glyphs")
    if(all OR EXISTS "${scaled}")
      list(APPEND entries RCDATA ${id} "${scaled}")
      if(all OR EXISTS "${glyphs}")
        list(APPEND entries RCDATA ${glyphs_id} "${glyphs}")
      endif()
    endif()
    math(EXPR id "${id} + 2")
  endforeach()
  set(${out} "${entries}" PARENT_SCOPE)
endfunction()

function(kestrane_add_setup name)
  cmake_parse_arguments(PARSE_ARGV 1 arg "STUB" "PACKAGE;SKIN;GLYPHS;MANIFEST;OUTPUT_NAME" "")
  if(NOT arg_PACKAGE AND NOT arg_STUB)
    message(FATAL_ERROR "kestrane_add_setup(${name}): PACKAGE is required")
  endif()
  if(arg_STUB AND NOT WIN32)
    # The host setup reaches its resources through linked symbols: only a relink
    # can give it a package.
    message(FATAL_ERROR "kestrane_add_setup(${name}): a STUB is built on the Windows target only")
  endif()
  if(NOT arg_SKIN)
    set(arg_SKIN "${KESTRANE_SETUP_SKIN}")
    set(arg_GLYPHS "${KESTRANE_SETUP_GLYPHS}")
    _kestrane_scaled_skins(scaled "${arg_SKIN}" TRUE)
  else()
    _kestrane_scaled_skins(scaled "${arg_SKIN}" FALSE)
  endif()
  set(glyphs "")
  if(arg_GLYPHS)
    set(glyphs RCDATA 117 "${arg_GLYPHS}")
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
  set(package "")
  if(arg_PACKAGE)
    set(package RCDATA 112 "${arg_PACKAGE}")
  endif()
  if(WIN32)
    # ASLR and DEP, said rather than left to the linker's defaults; ASLR keeps
    # the relocations in the file.
    target_link_options(${name} PRIVATE -Wl,--dynamicbase,--nxcompat)
  endif()
  if(arg_STUB)
    # The stub is copied by kpack setup into every vendor's setup: stripped, with
    # no time stamp, so that one source gives one file.
    target_link_options(${name} PRIVATE -s -Wl,--no-insert-timestamp)
  endif()
  # The texts of a manifest are read by kpack at build time, so that they change
  # with the manifest; without one the window keeps our name.
  set(texts STRING 1 "Kestrane Setup")
  if(arg_MANIFEST)
    set(texts_dir "${CMAKE_CURRENT_BINARY_DIR}/${name}_texts")
    set(kpack_target "")
    if(NOT WIN32)
      set(kpack_target kpack)
    endif()
    add_custom_command(
      OUTPUT "${texts_dir}/texts.rc" "${texts_dir}/strings.txt"
      COMMAND "${KESTRANE_KPACK}" texts "${arg_MANIFEST}" -o "${texts_dir}"
      # kpack checks the whole manifest, so the files it names must be there:
      # after the package, which is made from them.
      DEPENDS "${arg_MANIFEST}" "${arg_PACKAGE}" ${kpack_target}
      COMMENT "Reading the texts of ${arg_MANIFEST}"
      VERBATIM)
    add_custom_target(${name}_texts DEPENDS "${texts_dir}/texts.rc")
    add_dependencies(${name} ${name}_texts)
    if(WIN32)
      set(texts RCINCLUDE "${texts_dir}/texts.rc")
    else()
      set(texts STRINGLIST "${texts_dir}/strings.txt")
    endif()
  endif()
  kestrane_add_resources(${name}
    ${package}
    RCDATA 116 "${arg_SKIN}"
    ${glyphs}
    ${scaled}
    ${texts}
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

# The stub that `kpack setup` fills (Windows build only): kestrane-stub.exe in
# stub/ of the build, copied beside the host tools it was made with
# (KESTRANE_HOST_TOOLS) unless KESTRANE_STUB_BESIDE_TOOLS is off, and installed
# with them.
function(kestrane_add_setup_stub)
  kestrane_add_setup(kestrane_stub STUB OUTPUT_NAME kestrane-stub)
  set_target_properties(kestrane_stub PROPERTIES RUNTIME_OUTPUT_DIRECTORY "${CMAKE_BINARY_DIR}/stub")
  if(KESTRANE_STUB_BESIDE_TOOLS)
    add_custom_command(TARGET kestrane_stub POST_BUILD
      COMMAND "${CMAKE_COMMAND}" -E copy "$<TARGET_FILE:kestrane_stub>" "${KESTRANE_HOST_TOOLS}/"
      VERBATIM)
  endif()
  install(TARGETS kestrane_stub RUNTIME DESTINATION bin)
endfunction()
