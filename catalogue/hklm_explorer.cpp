#include "catalogue/catalogue.h"

namespace kwetro {

const std::vector<Block>& HklmExplorerBlocks() {
  static const std::vector<Block> blocks = {};
  return blocks;
}

}  // namespace kwetro
