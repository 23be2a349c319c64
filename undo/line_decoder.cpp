#include "undo/line_decoder.h"

#include <cstring>

#include "options/text_encoding.h"

namespace kwetro::undo {
namespace {

constexpr std::size_t kChunkBytes = 64 * 1024;
constexpr char kNul[] = "NUL character (UTF-16 without a byte-order mark, or a damaged file?)";
constexpr char kTooLong[] = "line longer than 1 MiB";

}  // namespace

bool LineDecoder::Fail(long line, std::string what) {
  failed_ = true;
  problem_.line = line;
  problem_.what = std::move(what);
  return false;
}

// Moves what is left of the chunk (at most a byte of a split UTF-16
// character) to its front and reads more behind it.
bool LineDecoder::Fill() {
  if (chunk_.empty()) chunk_.resize(kChunkBytes);
  const std::size_t left = end_ - pos_;
  std::memmove(chunk_.data(), chunk_.data() + pos_, left);
  pos_ = 0;
  end_ = left;
  std::size_t got = 0;
  std::string reason;
  if (!source_.Read(chunk_.data() + end_, chunk_.size() - end_, got, reason)) {
    failed_ = true;
    problem_.readFailure = true;
    problem_.what = reason;
    return false;
  }
  end_ += got;
  if (got == 0) atEnd_ = true;
  return got != 0;
}

template <typename Unit>
bool LineDecoder::Take(std::basic_string<Unit>& line) {
  constexpr std::size_t kSize = sizeof(Unit);  // 2: UTF-16LE, 1: ANSI
  const auto* bytes = reinterpret_cast<const unsigned char*>(chunk_.data());
  while (end_ - pos_ >= kSize) {
    const auto c = static_cast<Unit>(kSize == 1 ? bytes[pos_] : bytes[pos_] | bytes[pos_ + 1] << 8);
    pos_ += kSize;
    if (afterCr_) {
      afterCr_ = false;
      if (c == Unit('\n')) continue;
    }
    if (c == Unit('\r') || c == Unit('\n')) {
      afterCr_ = c == Unit('\r');
      return true;
    }
    lineOpen_ = true;
    if (c == 0) return Fail(lineNumber_ + 1, kNul);
    if (line.size() >= kMaxLineBytes / kSize) return Fail(lineNumber_ + 1, kTooLong);
    line += c;
  }
  return false;
}

bool LineDecoder::Next(std::u16string_view& line) {
  if (failed_) return false;
  if (!started_) {
    started_ = true;
    while (end_ < 2 && !atEnd_ && Fill()) {
    }
    if (failed_) return false;
    ansi_ = !(end_ >= 2 && chunk_[0] == '\xFF' && chunk_[1] == '\xFE');
    if (!ansi_) pos_ = 2;
  }
  line_.clear();
  ansiLine_.clear();
  lineOpen_ = false;
  for (;;) {
    const bool found = ansi_ ? Take(ansiLine_) : Take(line_);
    if (failed_) return false;
    if (found) break;
    if (!atEnd_ && Fill()) continue;
    if (failed_) return false;
    if (end_ != pos_) oddByteDropped_ = true;
    pos_ = end_;
    if (!lineOpen_) return false;
    lastLineUnended_ = true;
    break;
  }
  ++lineNumber_;
  if (ansi_) AppendUtf16OfCp1251(ansiLine_, line_);
  line = line_;
  return true;
}

}  // namespace kwetro::undo
