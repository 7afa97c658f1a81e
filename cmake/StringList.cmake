# cmake -P StringList.cmake -DLIST=<strings.txt> -DPREFIX=<label prefix>
#     -DDIRECTORY=<out.dir.S> -DDATA=<out.data.S>
#
# Turns a list of string-table entries made at build time (kpack texts: a line
# "ID LANGUAGE FILE" each, FILE beside the list, holding the text in
# Windows-1252) into the two pieces of a host resource section that
# kestrane_add_resources includes: the directory entries and their data.
file(STRINGS "${LIST}" lines)
get_filename_component(folder "${LIST}" DIRECTORY)
set(directory "")
set(data "")
set(n 0)
foreach(line IN LISTS lines)
  if(NOT line MATCHES "^([0-9]+) ([0-9]+) ([^ ]+)$")
    message(FATAL_ERROR "${LIST}: not a line \"ID LANGUAGE FILE\": ${line}")
  endif()
  set(id "${CMAKE_MATCH_1}")
  set(language "${CMAKE_MATCH_2}")
  file(READ "${folder}/${CMAKE_MATCH_3}" hex HEX)
  set(body "")
  if(NOT hex STREQUAL "")
    string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
    string(REGEX REPLACE ",$" "" bytes "${bytes}")
    set(body "    .byte ${bytes}\n")
  endif()
  set(label ".L${PREFIX}_${n}")
  string(APPEND directory
    "    .ascii \"#6\"\n    .zero 14\n"
    "    .long ${id}, ${label} - kestrane_resources, ${label}_end - ${label}, ${language}\n")
  string(APPEND data "    .balign 16\n${label}:\n${body}${label}_end:\n")
  math(EXPR n "${n} + 1")
endforeach()
file(WRITE "${DIRECTORY}" "${directory}")
file(WRITE "${DATA}" "${data}")
