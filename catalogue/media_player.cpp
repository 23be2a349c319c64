#include "catalogue/catalogue.h"

namespace kwetro {

const std::vector<Block>& MediaPlayerBlocks() {
  static const std::vector<Block> blocks = {};
  return blocks;
}

}  // namespace kwetro
