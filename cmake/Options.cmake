# ks_options: what every target of our own compiles with. Third-party code keeps
# its own flags; ours builds without a single warning on both targets, in every
# build type. Our own checks make a warning an error (scripts/check turns
# KESTRANE_WERROR on); a user's build is not stopped by a warning that another
# compiler or a newer release adds.
option(KESTRANE_WERROR "Treat warnings in our own code as errors (scripts/check turns it on)" OFF)
add_library(ks_options INTERFACE)
target_compile_options(ks_options INTERFACE -Wall -Wextra)
if(KESTRANE_WERROR)
  target_compile_options(ks_options INTERFACE -Werror)
endif()
target_include_directories(ks_options INTERFACE "${CMAKE_SOURCE_DIR}/src")
if(WIN32)
  # The product only ever talks to the A functions; no platform header is read
  # outside src/platform/win32, so these matter only there.
  target_compile_definitions(ks_options INTERFACE WIN32_LEAN_AND_MEAN NOMINMAX
                                                  _WIN32_WINNT=0x0601 WINVER=0x0601)
endif()
if(WIN32)
  # No build folder in what the compiler writes, so that the setup stub is the
  # same wherever it is built.
  target_compile_options(ks_options INTERFACE "-ffile-prefix-map=${CMAKE_SOURCE_DIR}=."
                                              "-ffile-prefix-map=${CMAKE_BINARY_DIR}=.")
endif()
