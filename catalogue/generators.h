// The two script generators: a selection as the bytes of hklm.reg
// (machine-wide options and services) and hkcu.reg (per-user options).
#pragma once

#include "options/reg_script.h"
#include "options/selection.h"

namespace kwetro {

RegScript BuildHklmScript(const Selection& selection);
RegScript BuildHkcuScript(const Selection& selection);

// The services section that closes hklm.reg; nothing while the list is disabled.
void AppendServicesSection(RegScript& script, const Selection& selection);
// A service's key line, and the start line of an item state.
std::string_view ServiceKeyLine(const ServiceDecl& service, std::string& room);
std::string_view ServiceStartLine(TriState state);

}  // namespace kwetro
