// Where the undo engine's files come from: a stream of byte chunks. The engine
// reads a registry export of any size without holding it, and needs no file
// system of its own: the app layer reads files, tests and the fuzz target hand
// it bytes in memory.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace kwetro::undo {

class ByteSource {
 public:
  virtual ~ByteSource() = default;
  // Reads up to size bytes into buffer; got is 0 at the end of the data.
  // Returns false on a read failure, with the system's reason.
  virtual bool Read(char* buffer, std::size_t size, std::size_t& got, std::string& reason) = 0;
};

// Bytes in memory, handed out at most `piece` bytes at a time.
class MemorySource : public ByteSource {
 public:
  explicit MemorySource(std::string_view bytes, std::size_t piece = SIZE_MAX)
      : bytes_(bytes), piece_(piece) {}

  bool Read(char* buffer, std::size_t size, std::size_t& got, std::string&) override {
    got = std::min({size, piece_, bytes_.size() - pos_});
    bytes_.copy(buffer, got, pos_);
    pos_ += got;
    return true;
  }

 private:
  std::string_view bytes_;
  std::size_t piece_;
  std::size_t pos_ = 0;
};

}  // namespace kwetro::undo
