// The option catalogue: for each script section, its blocks in the order the
// script holds them. Each table is built once, on first use.
#pragma once

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

}  // namespace kwetro
