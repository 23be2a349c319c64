// Files for tests: a fresh folder removed afterwards, whole files read and
// written as bytes, and the source tree's data.
#pragma once

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kwetro::testing {

inline std::string ReadBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

inline void WriteBytes(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

// Text with every LF turned into CR LF.
inline std::string CrLf(std::string_view text) {
  std::string out;
  for (char c : text) out += c == '\n' ? std::string("\r\n") : std::string(1, c);
  return out;
}

// A file or folder of the source tree; under Wine the Unix path is reached
// through drive Z:.
inline std::filesystem::path SourcePath(const std::string& relative) {
#ifdef _WIN32
  return std::filesystem::path("Z:" KWETRO_SOURCE_DIR) / relative;
#else
  return std::filesystem::path(KWETRO_SOURCE_DIR) / relative;
#endif
}

// The rows of a table of the source tree: a row a line, fields separated by
// " | ", blank lines and "#" lines skipped; \r, \n, \t, \0, \\ and \xHH stand for
// their bytes.
inline std::vector<std::vector<std::string>> ReadTable(const std::string& relative) {
  std::vector<std::vector<std::string>> rows;
  std::istringstream in(ReadBytes(SourcePath(relative)));
  for (std::string line; std::getline(in, line);) {
    if (line.empty() || line[0] == '#') continue;
    auto& row = rows.emplace_back(1);
    for (std::size_t i = 0; i < line.size(); ++i) {
      if (line.compare(i, 3, " | ") == 0) {
        row.emplace_back();
        i += 2;
        continue;
      }
      char c = line[i];
      if (c == '\\' && i + 1 < line.size()) {
        c = line[++i];
        if (c == 'x') {
          c = static_cast<char>(std::stoi(line.substr(i + 1, 2), nullptr, 16));
          i += 2;
        } else if (const std::size_t k = std::string("rnt0").find(c); k != std::string::npos) {
          c = "\r\n\t"[k];  // "\0" for k == 3: the literal's own end
        }
      }
      row.back() += c;
    }
  }
  return rows;
}

// The rows of a table of command lines (ReadTable): the words, separated by
// blanks ('' stands for an empty one), the exit status, and the start of what
// the program says; {dir} stands for the folder given, in every field.
struct CommandCase {
  std::vector<std::string> args;
  int code;
  std::string message;
};

inline std::vector<CommandCase> ReadCommandCases(const std::string& relative,
                                                 const std::string& dir) {
  const auto placed = [&dir](std::string text) {
    for (std::size_t at; (at = text.find("{dir}")) != std::string::npos;) text.replace(at, 5, dir);
    return text;
  };
  std::vector<CommandCase> cases;
  for (const auto& row : ReadTable(relative)) {
    CommandCase& c = cases.emplace_back(CommandCase{{}, std::stoi(row.at(1)), placed(row.at(2))});
    std::istringstream words(row[0]);
    for (std::string word; words >> word;) c.args.push_back(word == "''" ? "" : placed(word));
  }
  return cases;
}

// The cases of a file of the source tree: a line "=== NAME" starts a case,
// "--- PART" a part of it, and every other line after them belongs, with a
// line end, to the part above. Lines before the first case are notes.
struct TextCase {
  std::string name;
  std::vector<std::pair<std::string, std::string>> parts;
};

inline std::vector<TextCase> ReadCases(const std::string& relative) {
  std::vector<TextCase> cases;
  std::istringstream in(ReadBytes(SourcePath(relative)));
  for (std::string line; std::getline(in, line);) {
    if (line.rfind("=== ", 0) == 0)
      cases.push_back({line.substr(4), {}});
    else if (!cases.empty() && line.rfind("--- ", 0) == 0)
      cases.back().parts.emplace_back(line.substr(4), "");
    else if (!cases.empty() && !cases.back().parts.empty())
      cases.back().parts.back().second += line + "\n";
  }
  return cases;
}

class TempDir {
 public:
  TempDir() {
    static std::atomic<int> counter{0};
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    path_ = std::filesystem::temp_directory_path() /
            ("kwetro-test-" + std::to_string(stamp) + "-" + std::to_string(counter++));
    std::filesystem::create_directories(path_);
  }
  ~TempDir() {
    std::error_code ignored;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(path_, ignored);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  std::string Path() const { return path_.string(); }
  std::string File(const std::string& name) const { return (path_ / name).string(); }
  void Write(const std::string& name, const std::string& bytes) const {
    WriteBytes(path_ / name, bytes);
  }
  std::string Read(const std::string& name) const { return ReadBytes(path_ / name); }
  bool Exists(const std::string& name) const { return std::filesystem::exists(path_ / name); }
  // The names in the folder (or a folder inside it), sorted.
  std::string Listing(const std::string& sub = {}) const {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(path_ / sub))
      names.insert(entry.path().filename().string());
    std::string out;
    for (const std::string& name : names) out += (out.empty() ? "" : " ") + name;
    return out;
  }

 private:
  std::filesystem::path path_;
};

}  // namespace kwetro::testing
