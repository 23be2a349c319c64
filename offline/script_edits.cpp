#include "offline/script_edits.h"

#include "machine/control_model.h"
#include "options/text_encoding.h"
#include "undo/reg_reader.h"

namespace kwetro::offline {
namespace {

// The script as REGEDIT of Windows reads it: the ANSI text widened to
// UTF-16, so that hex(2) and hex(7) data stand as written.
std::string Widened(const std::string& cp1251) {
  std::string file = "\xFF\xFE";
  AppendUtf16Le(Cp1251ToUtf16(cp1251), file);
  return file;
}

class Collector : public undo::RegFileHandler {
 public:
  Collector(std::u16string_view controlSet, std::vector<Edit>& edits)
      : controlSet_(controlSet), edits_(edits) {}

  bool OnKey(const undo::KeyLine& key) override {
    routed_ = Route(key.root, key.rest, controlSet_, place_, why_);
    if (!routed_) {
      if (problem_.empty()) problem_ = "line " + std::to_string(key.line) + ": " + why_;
      return false;
    }
    Edit edit;
    edit.kind = key.deletion ? Edit::Kind::kNoKey : Edit::Kind::kKey;
    edit.place = place_;
    edits_.push_back(std::move(edit));
    return !key.deletion;
  }

  void OnValue(const undo::ValueLine& value) override {
    if (!routed_) return;
    if (!value.rejected.empty()) {
      if (problem_.empty())
        problem_ = "line " + std::to_string(value.line) + ": " + std::string(value.rejected);
      return;
    }
    Edit edit;
    edit.kind = value.deletion ? Edit::Kind::kNoValue : Edit::Kind::kValue;
    edit.place = place_;
    edit.name.assign(value.name);
    if (!value.deletion) edit.data = machine::DataOf(undo::ToRegValue(value));
    edits_.push_back(std::move(edit));
  }

  const std::string& Problem() const { return problem_; }

 private:
  std::u16string controlSet_;
  std::vector<Edit>& edits_;
  Place place_;
  bool routed_ = false;
  std::string why_, problem_;
};

}  // namespace

bool EditsOf(const std::vector<std::string>& scripts, std::u16string_view controlSet,
             std::vector<Edit>& edits, std::string& problem) {
  for (std::size_t i = 0; i < scripts.size(); ++i) {
    const std::string file = Widened(scripts[i]);
    undo::MemorySource source(file);
    Collector collector(controlSet, edits);
    undo::ReadProblem read;
    undo::ReadWarnings warnings;
    const bool ok = undo::ReadRegFile(source, collector, undo::FileKind::kScript, read, warnings);
    std::string what = !ok ? "line " + std::to_string(read.line) + ": " + read.what
                       : !collector.Problem().empty() ? collector.Problem()
                       : warnings.count ? "line " + std::to_string(warnings.first[0].line) + ": " +
                                              warnings.first[0].what
                                        : std::string();
    if (!what.empty()) {
      problem = "script " + std::to_string(i + 1) + ", " + what;
      return false;
    }
  }
  return true;
}

}  // namespace kwetro::offline
