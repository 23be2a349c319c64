// The window description: a declarative text that lists every control of the
// main window in component order, stored with every byte raised by one.
//
// Format (UTF-8; the stored form starts with the signature "TPF0"):
//   object <Name>: <Class>        starts a control; nested objects are children
//     <Property> = <value>        value: 123, -5, Identifier, 'text' ('' is a quote)
//     <Property> = (              a list, one value a line, closed by ")"
//   end
// Lines starting with "#" are comments; indentation is free.
#pragma once

#include <string>
#include <string_view>

#include "options/form.h"

namespace kwetro {

// How much of a description a parse keeps.
enum class FormDetail {
  kWindow,  // every property of every control: what the window is built from
  kEngine,  // every control, but of their properties only what the engine reads
            // (states, list items, ranges, and the captions and hints that reach
            // the scripts or the settings file); values skipped are not checked.
            // Enough for kwetro-cli, and a fraction of the work.
};

// Parses a description into a form: the generic component list plus the
// engine's controls (options, drop-down lists, spinners, the services list,
// the layout-order label). Checks that every option, list and spinner the
// engine knows appears exactly once. Then runs every caption rule, so that
// captions match states. Returns false with a message naming the line.
bool ParseFormDescription(std::string_view text, Form& form, std::string& error,
                          FormDetail detail = FormDetail::kWindow);

// Reads a stored description: when it begins with "UQG1" (the signature
// "TPF0" raised by one) every byte is lowered by one first.
bool LoadFormResource(std::string_view stored, Form& form, std::string& error,
                      FormDetail detail = FormDetail::kWindow);

// The description built into this program.
std::string_view StoredFormDescription();

}  // namespace kwetro
