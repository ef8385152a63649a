// proctime N COMMAND [ARGS...]: runs the command N times (output discarded, no input) and
// prints the median wall time and the median processor time (user + system), in seconds,
// and the median peak resident memory, in KiB.
#include <sys/resource.h>
#include <sys/wait.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: proctime N COMMAND [ARGS...]\n");
        return 2;
    }
    const int n = std::max(1, std::atoi(argv[1]));
    std::vector<double> wall, cpu;
    std::vector<long> peak;
    for (int i = 0; i < n; ++i) {
        const auto start = std::chrono::steady_clock::now();
        const pid_t pid = fork();
        if (pid == 0) {
            const int null = open("/dev/null", O_RDWR);
            dup2(null, 0);
            dup2(null, 1);
            execvp(argv[2], argv + 2);
            _exit(127);
        }
        int status = 0;
        rusage ru{};
        if (pid < 0 || wait4(pid, &status, 0, &ru) < 0) return 1;
        const auto stop = std::chrono::steady_clock::now();
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            std::fprintf(stderr, "proctime: %s failed\n", argv[2]);
            return 1;
        }
        wall.push_back(std::chrono::duration<double>(stop - start).count());
        peak.push_back(ru.ru_maxrss);
        cpu.push_back(ru.ru_utime.tv_sec + ru.ru_stime.tv_sec + (ru.ru_utime.tv_usec + ru.ru_stime.tv_usec) / 1e6);
    }
    std::sort(wall.begin(), wall.end());
    std::sort(cpu.begin(), cpu.end());
    std::sort(peak.begin(), peak.end());
    std::printf("%.6f %.6f %ld\n", wall[wall.size() / 2], cpu[cpu.size() / 2], peak[peak.size() / 2]);
    return 0;
}
