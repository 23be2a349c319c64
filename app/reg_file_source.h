// Registry files as the engines read them: in pieces, straight from the
// disk, and the lines passed over as REGEDIT passes them, as warnings that
// name the file and the line.
#pragma once

#include <string>

#include "app/file_io.h"
#include "undo/byte_source.h"
#include "undo/read_problem.h"

namespace kwetro {

class FileSource : public undo::ByteSource {
 public:
  bool Open(const std::string& path, std::string& reason) { return file_.Open(path, reason); }
  bool Read(char* buffer, std::size_t size, std::size_t& got, std::string& reason) override {
    return file_.Read(buffer, size, got, reason);
  }

 private:
  FileReader file_;
};

// "kwetro-cli: warning: <path>, line <N>: <what>" a line each, and how many
// more there were.
std::string WarningLines(const std::string& path, const undo::ReadWarnings& warnings);

// What kwetro-cli says of a registry file it cannot use, named by its role
// (backup, script, export): the system's reason when it cannot be read, else
// the line and the fault, or a fault of the whole file ("the export holds
// no ...").
std::string ProblemLine(const std::string& role, const std::string& path, bool readFailure,
                        long line, const std::string& what);

}  // namespace kwetro
