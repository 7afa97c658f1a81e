# kestrane_add_resources(<target>
#     [RCDATA <id> <file>]... [STRING <id> <text>]... [STRINGFILE <id> <file>]...
#     [STRINGLIST <file>]... [LANGUAGE <language id>]...
#     [RCINCLUDE <file>]... [ICON <id> <file>]... [MANIFEST <file>])
#
# Strings are English (0x0409) until a LANGUAGE entry names the Windows language
# id of the strings that follow it.
#
# STRINGFILE is a string-table entry whose text (Windows-1252, no terminator) is
# a file made at build time, and RCINCLUDE a piece of .rc script made at build
# time; the first counts on the host only, the second on Windows only, so a
# caller gives the host the one and Windows the other. STRINGLIST, on the host
# only too, is a list made at build time of string-table entries in any
# language, a line "ID LANGUAGE FILE" each (cmake/StringList.cmake): for texts
# whose ids and languages only the build knows.
#
# Gives a program its resources from one list. On Windows the list becomes a .rc
# script for windres; on the host it becomes an assembler file that pulls each file
# in with .incbin into the .kres section behind a small directory (see
# src/platform/ResourceSection.h). An icon is an icon group on Windows and the
# whole .ico file under the type name ICO on the host; the manifest exists only
# on Windows.

function(_kestrane_rc_quote out text)
  string(REPLACE "\"" "\"\"" text "${text}")
  set(${out} "\"${text}\"" PARENT_SCOPE)
endfunction()

function(_kestrane_asm_quote out text)
  string(REPLACE "\\" "\\\\" text "${text}")
  string(REPLACE "\"" "\\\"" text "${text}")
  set(${out} "\"${text}\"" PARENT_SCOPE)
endfunction()

function(kestrane_add_resources target)
  set(entries ${ARGN})
  list(LENGTH entries n)
  set(i 0)
  set(rc_lines "")
  set(rc_languages "")
  set(language 1033)
  set(asm_dir "")
  set(asm_data "")
  set(depends "")
  set(count 0)
  set(lists 0)
  while(i LESS n)
    list(GET entries ${i} kind)
    math(EXPR i "${i} + 1")
    # The kinds of one value.
    if(kind MATCHES "^(MANIFEST|LANGUAGE|STRINGLIST|RCINCLUDE)$")
      list(GET entries ${i} value)
      math(EXPR i "${i} + 1")
      if(kind STREQUAL "MANIFEST")
        list(APPEND depends "${value}")
        string(APPEND rc_lines "1 24 \"${value}\"\n")
      elseif(kind STREQUAL "RCINCLUDE")
        list(APPEND depends "${value}")
        string(APPEND rc_lines "#include \"${value}\"\n")
      elseif(kind STREQUAL "LANGUAGE")
        math(EXPR language "${value}")
      elseif(NOT WIN32)  # STRINGLIST: Windows takes the strings from the .rc lines
        set(piece "${CMAKE_CURRENT_BINARY_DIR}/${target}_strings${lists}")
        add_custom_command(
          OUTPUT "${piece}.dir.S" "${piece}.data.S"
          COMMAND "${CMAKE_COMMAND}" "-DLIST=${value}" "-DPREFIX=${target}_list${lists}"
                  "-DDIRECTORY=${piece}.dir.S" "-DDATA=${piece}.data.S"
                  -P "${CMAKE_SOURCE_DIR}/cmake/StringList.cmake"
          DEPENDS "${value}" "${CMAKE_SOURCE_DIR}/cmake/StringList.cmake"
          VERBATIM)
        list(APPEND depends "${piece}.dir.S" "${piece}.data.S")
        string(APPEND asm_dir "    .include \"${piece}.dir.S\"\n")
        string(APPEND asm_data "    .include \"${piece}.data.S\"\n")
        math(EXPR lists "${lists} + 1")
      endif()
      continue()
    endif()
    list(GET entries ${i} id)
    math(EXPR j "${i} + 1")
    list(GET entries ${j} value)
    math(EXPR i "${i} + 2")
    if(kind STREQUAL "RCDATA")
      list(APPEND depends "${value}")
      string(APPEND rc_lines "${id} RC_DATA \"${value}\"\n")
      set(type "RC_DATA")
      set(body "    .incbin \"${value}\"\n")
    elseif(kind STREQUAL "ICON")
      # Windows compiles the .ico into an icon group; the host keeps the whole
      # file under the type name ICO, which its icon loader reads.
      list(APPEND depends "${value}")
      string(APPEND rc_lines "${id} ICON \"${value}\"\n")
      set(type "ICO")
      set(body "    .incbin \"${value}\"\n")
    elseif(kind STREQUAL "STRINGFILE")
      list(APPEND depends "${value}")
      set(type "#6")
      set(body "    .incbin \"${value}\"\n")
    elseif(kind STREQUAL "STRING")
      _kestrane_rc_quote(q "${value}")
      if(NOT language IN_LIST rc_languages)
        list(APPEND rc_languages ${language})
        set(rc_strings_${language} "")
      endif()
      string(APPEND rc_strings_${language} "  ${id}, ${q}\n")
      set(type "#6")
      _kestrane_asm_quote(q "${value}")
      set(body "    .ascii ${q}\n")
    else()
      message(FATAL_ERROR "kestrane_add_resources: unknown kind '${kind}'")
    endif()
    set(entry_language 0)
    if(type STREQUAL "#6")
      set(entry_language ${language})
    endif()
    string(LENGTH "${type}" type_len)
    math(EXPR pad "16 - ${type_len}")
    string(APPEND asm_dir
      "    .ascii \"${type}\"\n    .zero ${pad}\n"
      "    .long ${id}, .Lres${count} - kestrane_resources, .Lres${count}_end - .Lres${count}, ${entry_language}\n")
    string(APPEND asm_data "    .balign 16\n.Lres${count}:\n${body}.Lres${count}_end:\n")
    math(EXPR count "${count} + 1")
  endwhile()

  if(WIN32)
    set(out "${CMAKE_CURRENT_BINARY_DIR}/${target}_resources.rc")
    foreach(l IN LISTS rc_languages)
      math(EXPR primary "${l} % 1024")
      math(EXPR sub "${l} / 1024")
      string(APPEND rc_lines "LANGUAGE ${primary}, ${sub}\nSTRINGTABLE\nBEGIN\n${rc_strings_${l}}END\n")
    endforeach()
    file(GENERATE OUTPUT "${out}" CONTENT "${rc_lines}")
  else()
    set(out "${CMAKE_CURRENT_BINARY_DIR}/${target}_resources.S")
    file(GENERATE OUTPUT "${out}" CONTENT
"    .section .kres,\"a\",@progbits
    .balign 16
    .globl kestrane_resources
kestrane_resources:
    .ascii \"KRES\"
    .long 2, (.Lkres_entries_end - .Lkres_entries) / 32, 0
.Lkres_entries:
${asm_dir}.Lkres_entries_end:
${asm_data}
    .globl kestrane_resources_end
kestrane_resources_end:
    .section .note.GNU-stack,\"\",@progbits
")
  endif()
  set_source_files_properties("${out}" PROPERTIES GENERATED TRUE OBJECT_DEPENDS "${depends}")
  target_sources(${target} PRIVATE "${out}")
endfunction()
