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

std::string ProblemLine(const std::string& role, const std::string& path, bool readFailure,
                        long line, const std::string& what) {
  if (readFailure) return "kwetro-cli: cannot read " + role + " '" + path + "': " + what + "\n";
  if (line == 0) return "kwetro-cli: " + path + ": the " + role + " " + what + "\n";
  return "kwetro-cli: " + path + ", line " + std::to_string(line) + ": " + what + "\n";
}

}  // namespace kwetro
