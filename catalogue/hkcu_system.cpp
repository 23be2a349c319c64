#include "catalogue/catalogue.h"

namespace kwetro {

const std::vector<Block>& HkcuSystemBlocks() {
  static const std::vector<Block> blocks = {};
  return blocks;
}

}  // namespace kwetro
