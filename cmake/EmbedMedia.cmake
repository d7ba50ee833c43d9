# Compiles the files named in a manifest (one path relative to the source
# folder per line, in registration order) into a library. Each file is pulled
# in with the assembler's .incbin, and a generated function registers them all
# under their relative names.
function(rk_embed_media target manifest)
  file(STRINGS ${manifest} entries)
  set(asm "")
  set(decls "")
  set(regs "")
  set(deps "")
  set(i 0)
  foreach(entry IN LISTS entries)
    string(STRIP "${entry}" entry)
    if(entry STREQUAL "" OR entry MATCHES "^#")
      continue()
    endif()
    set(path ${CMAKE_SOURCE_DIR}/${entry})
    if(NOT EXISTS ${path})
      message(FATAL_ERROR "media file missing: ${entry}")
    endif()
    list(APPEND deps ${path})
    string(APPEND asm "    .section .rodata\n    .balign 16\n    .global rk_res_${i}\nrk_res_${i}:\n    .incbin \"${path}\"\n    .global rk_res_${i}_end\nrk_res_${i}_end:\n    .byte 0\n")
    string(APPEND decls "extern \"C\" const unsigned char rk_res_${i}[];\nextern \"C\" const unsigned char rk_res_${i}_end[];\n")
    string(APPEND regs "    RegisterEmbeddedResource(u\"${entry}\", rk_res_${i}, static_cast<size_t>(rk_res_${i}_end - rk_res_${i}));\n")
    math(EXPR i "${i} + 1")
  endforeach()
  set(gen ${CMAKE_BINARY_DIR}/generated)
  if(NOT WIN32)
    # ELF only: the data needs no executable stack.
    string(APPEND asm "    .section .note.GNU-stack,\"\",@progbits\n")
  endif()
  file(WRITE ${gen}/embedded_media.S.in "${asm}")
  file(WRITE ${gen}/embedded_media.cpp.in
"// Generated from the media manifest: registers every embedded font and image.
#include \"platform/resources.hpp\"
#include <cstddef>
${decls}
void RegisterEmbeddedMedia() {
${regs}}
")
  configure_file(${gen}/embedded_media.S.in ${gen}/embedded_media.S COPYONLY)
  configure_file(${gen}/embedded_media.cpp.in ${gen}/embedded_media.cpp COPYONLY)
  set_source_files_properties(${gen}/embedded_media.S PROPERTIES OBJECT_DEPENDS "${deps}")
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${manifest})
  add_library(${target} OBJECT ${gen}/embedded_media.S ${gen}/embedded_media.cpp)
  set(RK_MEDIA_COUNT ${i} PARENT_SCOPE)
endfunction()
