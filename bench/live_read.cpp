// How long the window waits for the machine's state: the live registry read
// at every probe of every control (what "Взять с этого компьютера" and the
// marks need), then judged against the built-in selection. Run it under Wine
// (or on Windows); it prints the median of 21 runs of each.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "machine/audit.h"
#include "machine/live_registry.h"

namespace {

double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to) {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) /
         static_cast<double>(frequency.QuadPart);
}

template <typename Run>
double Median(Run run) {
  std::vector<double> times;
  for (int i = 0; i < 21; ++i) {
    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    run();
    QueryPerformanceCounter(&end);
    times.push_back(Milliseconds(start, end));
  }
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

}  // namespace

int main() {
  using namespace kwetro;
  // The model is built once per process, before the window asks.
  LARGE_INTEGER start, end;
  QueryPerformanceCounter(&start);
  const std::size_t probes = machine::TheModel().Probes().size();
  QueryPerformanceCounter(&end);
  machine::Machine read;
  const double live = Median([&read] { read = machine::ReadMachine(machine::LiveRegistry("")); });
  const Selection selection;
  const double judge = Median([&] { machine::AuditMachine(read, selection); });
  std::printf("model of every control (%zu probes), once: %.2f ms\n", probes,
              Milliseconds(start, end));
  std::printf("live read of every probe, median of 21: %.2f ms\n", live);
  std::printf("judging against the built-in selection, median of 21: %.2f ms\n", judge);
  return 0;
}
