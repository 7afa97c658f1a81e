# zlib, libjpeg and GoogleTest for the target being built, and on the host the JSON
# library of the tools. Each of the first three is reached through one target name on
# both platforms: ZLIB::ZLIB, ks_jpeg, GTest::gtest_main.

if(WIN32)
  set(ZLIB_USE_STATIC_LIBS ON)
endif()
find_package(ZLIB REQUIRED)

if(WIN32 OR KESTRANE_FUZZ)
  # Debian ships libjpeg only for Linux; scripts/bootstrap fetched its source
  # package, and it is cross-built here into the build tree. The fuzz build makes
  # its own copy from the same source with the fuzzer's coverage hooks and
  # AddressSanitizer, so that the fuzzers see into the decoder, not just our glue.
  file(GLOB jpeg_source LIST_DIRECTORIES true "${KESTRANE_DEPS_DIR}/libjpeg-turbo-*")
  list(FILTER jpeg_source EXCLUDE REGEX "\\.(tar|dsc|diff|debian)")
  list(LENGTH jpeg_source found)
  if(NOT found EQUAL 1)
    message(FATAL_ERROR "libjpeg-turbo source not found in ${KESTRANE_DEPS_DIR}; run scripts/bootstrap")
  endif()
  # Our JPEG glue throws out of the library's error handler, through its C
  # frames: they need unwind tables, which -fexceptions guarantees.
  if(WIN32)
    set(jpeg_compiler -DCMAKE_TOOLCHAIN_FILE=${CMAKE_TOOLCHAIN_FILE}
                      "-DCMAKE_C_FLAGS=-msse2 -mfpmath=sse -fexceptions")
  else()
    set(jpeg_compiler -DCMAKE_C_COMPILER=${CMAKE_C_COMPILER}
        "-DCMAKE_C_FLAGS=-fsanitize=fuzzer-no-link,address -fno-omit-frame-pointer -fexceptions")
  endif()
  include(ExternalProject)
  set(jpeg_prefix "${CMAKE_BINARY_DIR}/deps/libjpeg")
  ExternalProject_Add(libjpeg_from_source
    SOURCE_DIR "${jpeg_source}"
    BINARY_DIR "${CMAKE_BINARY_DIR}/deps/libjpeg-build"
    INSTALL_DIR "${jpeg_prefix}"
    CMAKE_ARGS
      ${jpeg_compiler}
      -DCMAKE_BUILD_TYPE=Release
      -DCMAKE_INSTALL_PREFIX=<INSTALL_DIR>
      -DCMAKE_INSTALL_LIBDIR=<INSTALL_DIR>/lib
      -DENABLE_SHARED=OFF -DWITH_SIMD=OFF -DWITH_TURBOJPEG=OFF -Wno-dev
    BUILD_BYPRODUCTS "${jpeg_prefix}/lib/libjpeg.a"
    UPDATE_COMMAND "" PATCH_COMMAND "")
  file(MAKE_DIRECTORY "${jpeg_prefix}/include")
  add_library(ks_jpeg STATIC IMPORTED GLOBAL)
  set_target_properties(ks_jpeg PROPERTIES
    IMPORTED_LOCATION "${jpeg_prefix}/lib/libjpeg.a"
    INTERFACE_INCLUDE_DIRECTORIES "${jpeg_prefix}/include")
  add_dependencies(ks_jpeg libjpeg_from_source)
endif()

if(WIN32)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
  # Its own CMake build defines the GTest:: names used on the host too.
  add_subdirectory(/usr/src/googletest "${CMAKE_BINARY_DIR}/googletest" EXCLUDE_FROM_ALL SYSTEM)
else()
  if(NOT KESTRANE_FUZZ)
    find_package(JPEG REQUIRED)
    add_library(ks_jpeg INTERFACE)
    target_link_libraries(ks_jpeg INTERFACE JPEG::JPEG)
  endif()
  find_package(GTest REQUIRED)
  # The tools' JSON reports (header-only; ordered_json needs 3.9).
  find_package(nlohmann_json 3.9 REQUIRED)
endif()
