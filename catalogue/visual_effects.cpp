#include "catalogue/catalogue.h"

namespace kwetro {

const std::vector<Block>& VisualEffectBlocks() {
  static const std::vector<Block> blocks = {};
  return blocks;
}

}  // namespace kwetro
