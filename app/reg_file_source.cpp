#include "app/reg_file_source.h"

namespace kwetro {

std::string WarningLines(const std::string& path, const undo::ReadWarnings& warnings) {
  std::string text;
  for (const undo::ReadProblem& w : warnings.first)
    text +=
        "kwetro-cli: warning: " + path + ", line " + std::to_string(w.line) + ": " + w.what + "\n";
  const long more = warnings.count - static_cast<long>(warnings.first.size());
  if (more > 0)
    text += "kwetro-cli: warning: " + path + ": " + std::to_string(more) + " more line" +
            (more == 1 ? "" : "s") + " passed over\n";
  return text;
}

}  // namespace kwetro
