// The stored window description, linked into the native build as bytes
// (the Windows build carries the same bytes as the resource TFORM1).
#include <string_view>

#include "ui/form_loader.h"

#ifndef KWETRO_STORED_FORM
#error "KWETRO_STORED_FORM must name the stored window description"
#endif

__asm__(".section .rodata\n"
        ".balign 16\n"
        "kwetro_stored_form_begin:\n"
        ".incbin \"" KWETRO_STORED_FORM "\"\n"
        "kwetro_stored_form_end:\n"
        ".previous\n"
        ".section .data.rel.ro\n"
        ".balign 8\n"
        ".globl kwetro_stored_form_bounds\n"
        "kwetro_stored_form_bounds:\n"
        ".quad kwetro_stored_form_begin\n"
        ".quad kwetro_stored_form_end\n"
        ".previous\n");

extern "C" const char* const kwetro_stored_form_bounds[2];

namespace kwetro {

std::string_view StoredFormDescription() {
  return std::string_view(kwetro_stored_form_bounds[0],
                          static_cast<std::size_t>(kwetro_stored_form_bounds[1] -
                                                   kwetro_stored_form_bounds[0]));
}

}  // namespace kwetro
