// The two script generators: the current state of the form, as the bytes of
// hklm.reg (machine-wide options and services) and hkcu.reg (per-user options).
#pragma once

#include "options/form.h"
#include "options/reg_script.h"

namespace kwetro {

RegScript BuildHklmScript(const Form& form);
RegScript BuildHkcuScript(const Form& form);

}  // namespace kwetro
