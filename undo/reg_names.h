// Names in the registry: the root keys REGEDIT accepts, the components of a
// key path, and comparison without regard to letter case, as the registry
// compares key and value names.
#pragma once

#include <string>
#include <string_view>

namespace kwetro::undo {

enum class Root { kLocalMachine, kUsers, kCurrentUser, kClassesRoot, kCurrentConfig };
constexpr int kRootCount = 5;

// The full name, such as HKEY_LOCAL_MACHINE.
std::u16string_view RootName(Root root);

// Splits a full key name into its root and the rest after the root's
// backslash. Only full root names count, in any letter case, as REGEDIT reads
// them; false for anything else.
bool SplitRoot(std::u16string_view name, Root& root, std::u16string_view& rest);

// Takes the next component off the front of a path (backslashes around it
// dropped); false when none is left.
bool NextComponent(std::u16string_view& path, std::u16string_view& component);

// The letter-case folding of names: ASCII, Latin-1 and Cyrillic letters.
char16_t FoldCase(char16_t c);
bool EqualsIgnoringCase(std::u16string_view a, std::u16string_view b);

// A name between quotes with REGEDIT's escapes resolved (\\ \" \n \r); a
// backslash before any other character stays, as Windows keeps it.
void AppendUnescaped(std::u16string_view quoted, std::u16string& out);

}  // namespace kwetro::undo
