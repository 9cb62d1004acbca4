// Start-up and memory of tavlin.exe against the bare window, in one run:
// each program is started in turn, timed from CreateProcess until it has
// painted its window and waits for input, its peak working set read, and it
// is closed again. Prints medians over the runs and the ratios.
// usage: bench_startup.exe [RUNS]
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

struct Sample {
  double seconds = 0;
  double peakMiB = 0;
  bool ok = false;
};

std::wstring Folder() {
  std::wstring path(4096, L'\0');
  path.resize(GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size())));
  return path.substr(0, path.find_last_of(L'\\') + 1);
}

struct FindWindowOf {
  DWORD pid;
  HWND found;
};
BOOL CALLBACK Each(HWND h, LPARAM lp) {
  auto* f = reinterpret_cast<FindWindowOf*>(lp);
  DWORD pid = 0;
  GetWindowThreadProcessId(h, &pid);
  if (pid == f->pid && IsWindowVisible(h) && !GetParent(h)) {
    f->found = h;
    return FALSE;
  }
  return TRUE;
}

Sample Run(const std::wstring& exe) {
  Sample s;
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  std::wstring cmd = L"\"" + exe + L"\"";
  LARGE_INTEGER t0, t1, f;
  QueryPerformanceFrequency(&f);
  QueryPerformanceCounter(&t0);
  if (!CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
    return s;
  // The program shows and paints its window before it first waits for input.
  WaitForInputIdle(pi.hProcess, 30000);
  FindWindowOf find{pi.dwProcessId, nullptr};
  while (!find.found && WaitForSingleObject(pi.hProcess, 1) == WAIT_TIMEOUT)
    EnumWindows(&Each, reinterpret_cast<LPARAM>(&find));
  QueryPerformanceCounter(&t1);
  PROCESS_MEMORY_COUNTERS pmc{};
  pmc.cb = sizeof pmc;
  if (GetProcessMemoryInfo(pi.hProcess, &pmc, sizeof pmc))
    s.peakMiB = pmc.PeakWorkingSetSize / 1048576.0;
  s.seconds = static_cast<double>(t1.QuadPart - t0.QuadPart) / static_cast<double>(f.QuadPart);
  s.ok = find.found != nullptr;
  if (find.found) PostMessageW(find.found, WM_CLOSE, 0, 0);
  if (WaitForSingleObject(pi.hProcess, 10000) == WAIT_TIMEOUT) TerminateProcess(pi.hProcess, 1);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return s;
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? 0 : v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::atoi(argv[1]) : 15;
  const std::wstring folder = Folder();
  const std::wstring programs[2] = {folder + L"bare_window.exe", folder + L"tavlin.exe"};
  std::vector<double> time[2], memory[2];
  Run(programs[0]);  // warm the file cache and the Wine server for both
  Run(programs[1]);
  for (int i = 0; i < runs; ++i) {
    for (int p = 0; p < 2; ++p) {
      const Sample s = Run(programs[p]);
      if (!s.ok) {
        std::printf("run %d of program %d failed\n", i, p);
        return 1;
      }
      time[p].push_back(s.seconds);
      memory[p].push_back(s.peakMiB);
    }
  }
  const double tb = Median(time[0]), tt = Median(time[1]);
  const double mb = Median(memory[0]), mt = Median(memory[1]);
  std::printf("| measure (median of %d) | bare window | tavlin.exe | ratio | goal |\n", runs);
  std::printf("|---|---|---|---|---|\n");
  std::printf("| start-up to first paint | %.1f ms | %.1f ms | %.3f | 1.15 |\n", tb * 1e3, tt * 1e3,
              tt / tb);
  std::printf("| peak working set | %.2f MiB | %.2f MiB | %.3f | 1.25 |\n", mb, mt, mt / mb);
  return 0;
}
