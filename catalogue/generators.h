// The two script generators: a selection as the bytes of hklm.reg
// (machine-wide options and services) and hkcu.reg (per-user options).
#pragma once

#include "options/blocks.h"
#include "options/reg_script.h"
#include "options/selection.h"

namespace kwetro {

RegScript BuildHklmScript(const Selection& selection);
RegScript BuildHkcuScript(const Selection& selection);

// The key sections of both scripts that the filter keeps, hkcu.reg's sections
// first, then hklm.reg's, in one script with the frame: a section's header
// stands only above what it keeps, and those of hklm.reg say where they come
// from. The services, machine keys alone, are never part of it.
RegScript BuildFilteredScript(const Selection& selection, const KeyFilter& filter);

// The services section that closes hklm.reg; nothing while the list is disabled.
void AppendServicesSection(RegScript& script, const Selection& selection);
// A service's key line, and the start line of an item state.
std::string_view ServiceKeyLine(const ServiceDecl& service, std::string& room);
std::string_view ServiceStartLine(TriState state);

}  // namespace kwetro
