#include "graphics/load_in_child.h"

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <new>

#include "graphics/bitmap32_io.h"

TChildLoad LoadInChild(TImageLoader load, std::span<const uint8_t> bytes, size_t budget) {
  int reason[2];
  if (pipe(reason) != 0) return {};
  const pid_t child = fork();
  if (child == 0) {
    close(reason[0]);
    const auto finish = [&](TChildOutcome outcome, const char* text) {
      const ssize_t written = write(reason[1], text, std::strlen(text));
      _exit(static_cast<int>(written < 0 ? TChildOutcome::Failed : outcome));
    };
    if (kAddressSpaceLimited) {
      size_t pages = 0;
      if (FILE* statm = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(statm, "%zu", &pages) != 1) pages = 0;
        std::fclose(statm);
      }
      const rlim_t limit = pages * static_cast<size_t>(sysconf(_SC_PAGESIZE)) + budget;
      const rlimit rl{limit, limit};
      if (pages == 0 || setrlimit(RLIMIT_AS, &rl) != 0) finish(TChildOutcome::Failed, "");
    }
    try {
      load(bytes);
      finish(TChildOutcome::Loaded, "");
    } catch (const EBitmapIOError& e) {
      finish(TChildOutcome::Refused, e.what());
    } catch (const std::bad_alloc&) {
      finish(TChildOutcome::OutOfMemory, "");
    } catch (...) {
      finish(TChildOutcome::Failed, "");
    }
  }
  close(reason[1]);
  TChildLoad result;
  char buffer[256];
  for (ssize_t n; child > 0 && (n = read(reason[0], buffer, sizeof buffer)) > 0;) result.Reason.append(buffer, n);
  close(reason[0]);
  int status = 0;
  if (child < 0 || waitpid(child, &status, 0) != child || !WIFEXITED(status)) return {};
  result.Outcome = static_cast<TChildOutcome>(WEXITSTATUS(status));
  return result;
}
