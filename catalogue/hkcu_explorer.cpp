#include "catalogue/catalogue.h"

namespace kwetro {

const std::vector<Block>& HkcuExplorerBlocks() {
  static const std::vector<Block> blocks = {};
  return blocks;
}

}  // namespace kwetro
