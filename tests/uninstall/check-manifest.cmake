# cmake -DPROGRAM=Uninstall.exe -P check-manifest.cmake
# The program's manifest asks for administrator rights: the uninstaller deletes
# below Program Files and in HKEY_LOCAL_MACHINE. The manifest resource is stored
# as plain text in the resource section.
file(STRINGS "${PROGRAM}" levels REGEX "requestedExecutionLevel")
if(NOT levels MATCHES "level=\"requireAdministrator\"")
  message(FATAL_ERROR "${PROGRAM} does not ask for administrator rights: '${levels}'")
endif()
file(STRINGS "${PROGRAM}" identity REGEX "assemblyIdentity[^>]*Kestrane.Uninstall")
if(NOT identity)
  message(FATAL_ERROR "${PROGRAM} carries no manifest of its own")
endif()
