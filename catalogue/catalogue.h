// The option catalogue: for each script section, its blocks in the order the
// script holds them. Each table is built once, on first use.
#pragma once

#include <string_view>
#include <vector>

#include "options/blocks.h"

namespace kwetro {

// hklm.reg
const std::vector<Block>& HklmSystemBlocks();    // "; СИСТЕМА"
const std::vector<Block>& HklmExplorerBlocks();  // "; ПРОВОДНИК"

// hkcu.reg
const std::vector<Block>& HkcuSystemBlocks();    // "; СИСТЕМА"
const std::vector<Block>& HkcuExplorerBlocks();  // "; ПРОВОДНИК", up to font smoothing
const std::vector<Block>& VisualEffectBlocks();  // "; ПРОВОДНИК", from font smoothing on
const std::vector<Block>& MediaPlayerBlocks();   // "; МЕДИАПЛЕЕР"
const std::vector<Block>& InternetExplorerBlocks();  // "; НАСТРОЙКИ IE"

// A section of a script: the title of its header and its catalogues, in the
// order the script holds them. The services close hklm.reg after these.
using BlocksOf = const std::vector<Block>& (*)();
struct ScriptSection {
  std::string_view title;
  std::vector<BlocksOf> catalogues;
};
const std::vector<ScriptSection>& HklmSections();
const std::vector<ScriptSection>& HkcuSections();

}  // namespace kwetro
