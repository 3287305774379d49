// A 4,096-object design of about five million stitches, the largest the
// object table holds with every object a few centimetres across, and what
// `kelvara --render`, `--worksheet` and `--info` take on it as whole
// processes: the wall time, the peak memory and the output's size.
//
//     bench_app_hugedesign                 the figures
//     bench_app_hugedesign --write PATH    only writes the design, to open it in the editor
//
// On two cores shared with other builds (5,335,469 stitches), before and
// after the worksheet of a project was stitched once rather than twice:
//     --info        5.2 s  108 MB                 5.3 s  108 MB
//     --render      8.7 s  122 MB  2.1 MB PNG    11.2 s  122 MB (noise: nothing changed)
//     --worksheet  13.8 s  200 MB  0.75 MB PDF    9.5 s  118 MB
// The plan itself (16 bytes a record) was most of the memory left. Since
// --render and --worksheet draw it object by object as it is stitched, in
// two passes (where it lies, then the picture), with the next objects
// stitched on a thread of their own and the thread picture painted in bands
// on every core (CPU time is user and system of all threads; the wall times
// were taken on two cores with a load of about ten from other builds):
//                 before                        after
//     --render     8.4 s  4.2 s CPU  125 MB      same picture, 4.4 s CPU  46 MB
//     --worksheet  7.1 s  3.7 s CPU  121 MB      same page,    3.6 s CPU  44 MB
// The work is the same (two stitching passes, then the picture); on two
// free cores the second pass and the picture share them.
// --info then measured the design as it is stitched too, fitting the hoops
// by the stitches' convex hull (same figures):
//     --info       108 MB (the whole plan)      1.0 s  1.6 s CPU  33 MB
#include "model/workspace.h"
#include "project/saveproject.h"
#include "stitch/sampledesign.h"

#include <QTemporaryDir>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace {

using namespace kelvara;

// The grid design 3.6 times larger: 4,096 objects, about 5.3 million stitches.
constexpr double kScale = 3.6;

std::string designText()
{
    auto ws = std::make_unique<Workspace>();
    testing::buildGridDesign(*ws, ObjectTable::kRows, kScale);
    return projectFileText(*ws);
}

struct Run {
    bool ok = false;
    double seconds = 0;
    double cpuSeconds = 0; // user and system, of all its threads: wall time on shared cores misleads
    double peakMb = 0;
};

// The program as a child of its own, so its peak memory is its own.
Run runProgram(const std::vector<std::string>& arguments)
{
    std::vector<char*> argv;
    std::string program = KELVARA_PROGRAM;
    argv.push_back(program.data());
    std::vector<std::string> copies = arguments;
    for (std::string& a : copies)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    const auto start = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child == 0) {
        execv(argv[0], argv.data());
        _exit(127);
    }
    Run run;
    int status = 0;
    rusage usage{};
    if (child < 0 || wait4(child, &status, 0, &usage) != child)
        return run;
    run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    run.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    run.peakMb = double(usage.ru_maxrss) / 1024;
    const auto seconds = [](const timeval& t) { return double(t.tv_sec) + double(t.tv_usec) / 1e6; };
    run.cpuSeconds = seconds(usage.ru_utime) + seconds(usage.ru_stime);
    return run;
}

double megabytes(const std::string& path)
{
    std::error_code ec;
    const auto size = std::filesystem::file_size(path, ec);
    return ec ? 0 : double(size) / 1e6;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 3 && std::strcmp(argv[1], "--write") == 0) {
        std::ofstream(argv[2], std::ios::binary) << designText();
        return 0;
    }
    QTemporaryDir dir;
    const std::string project = dir.filePath("huge.kvp").toStdString();
    std::ofstream(project, std::ios::binary) << designText();

    const auto report = [](const char* action, const Run& run) {
        std::printf("%-12s %s %6.1f s %6.1f s CPU %7.0f MB peak", action, run.ok ? "ok    " : "FAILED",
                    run.seconds, run.cpuSeconds, run.peakMb);
    };
    report("--info", runProgram({"--info", project}));
    std::printf("\n");
    const std::string png = dir.filePath("huge.png").toStdString();
    report("--render", runProgram({"--render", project, png}));
    std::printf(" %7.2f MB PNG\n", megabytes(png));
    const std::string flat = dir.filePath("flat.png").toStdString();
    report("--flat", runProgram({"--render", "--flat", project, flat}));
    std::printf(" %7.2f MB PNG\n", megabytes(flat));
    const std::string pdf = dir.filePath("huge.pdf").toStdString();
    report("--worksheet", runProgram({"--worksheet", project, pdf}));
    std::printf(" %7.2f MB PDF\n", megabytes(pdf));
    return 0;
}
