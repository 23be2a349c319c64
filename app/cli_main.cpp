#include <cstdio>
#include <string>
#include <vector>

#include "app/cli.h"

#ifdef _WIN32
#include <windows.h>

#include "app/win32_text.h"

// Arguments arrive as UTF-16 so that any file name survives.
int wmain(int argc, wchar_t** argv) {
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) args.push_back(kwetro::Narrow(argv[i]));
#else
int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
#endif
  std::string out, err;
  const int code = kwetro::RunCli(args, out, err);
  std::fputs(out.c_str(), stdout);
  std::fputs(err.c_str(), stderr);
  return code;
}
