#include "catalogue/catalogue.h"

namespace kwetro {

const std::vector<Block>& HklmSystemBlocks() {
  static const std::vector<Block> blocks = {};
  return blocks;
}

}  // namespace kwetro
