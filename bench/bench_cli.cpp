// quorlex-text as a whole process, file in to file out, beside the usual tools doing the same
// kind of work on the same 50 MB corpus, in the same run (they take turns, so a change in the
// machine's speed touches both). Also the peak memory of each command against the input.
//
//   build/bench/bench_cli [FOLDER [COMMAND ...]]
// The corpus and the outputs go to FOLDER (default /tmp); named commands alone when given.
#include "bench/Corpus.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

struct Run {
    double seconds = 0;
    double cpu = 0; // user and system seconds
    double peakBytes = 0;
    int status = -1;
};

// One run of `command` through the shell; the peak memory is that of its largest process.
Run RunOnce(const std::string& command)
{
    const auto t0 = std::chrono::steady_clock::now();
    const pid_t child = ::fork();
    if (child == 0) {
        ::execl("/bin/sh", "sh", "-c", command.c_str(), static_cast<char*>(nullptr));
        ::_exit(127);
    }
    int status = 0;
    rusage usage{};
    ::wait4(child, &status, 0, &usage);
    Run r;
    r.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    r.peakBytes = static_cast<double>(usage.ru_maxrss) * 1024.0;
    const auto secs = [](const timeval& t) {
        return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
    };
    r.cpu = secs(usage.ru_utime) + secs(usage.ru_stime);
    r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return r;
}

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

struct Pair {
    const char* name;
    std::string ours;
    std::string reference;
    const char* target; // as the issue states it
};

} // namespace

int main(int argc, char* argv[])
{
    corpus::ParseArguments(argc, argv);
    const std::string folder = argc > 1 ? argv[1] : QDir::tempPath().toStdString();
    const std::string out = folder + "/quorlex-cli-out.txt";
    const std::string script = folder + "/quorlex-cli-counter.py";
    const std::string in = corpus::EnsureFile(QString::fromStdString(folder + "/quorlex-cli-corpus.txt"),
                                              corpus::Lines(1000000))
                               .toStdString();
    const double size = static_cast<double>(QFileInfo(QString::fromStdString(in)).size());
    {
        FILE* f = std::fopen(script.c_str(), "w");
        std::fputs("import collections, re, sys\n"
                   "data = open(sys.argv[1], 'rb').read()\n"
                   "c = collections.Counter(w.lower() for w in re.findall(rb'[0-9A-Za-z\\xc0-\\xff]+', data))\n"
                   "total = sum(c.values())\n"
                   "with open(sys.argv[2], 'wb') as f:\n"
                   "    for w in sorted(c):\n"
                   "        f.write(b'%s;%d;%.1f %%\\r\\n' % (w, c[w], c[w] * 100 / total))\n",
                   f);
        std::fclose(f);
    }
    const std::string q = std::string("LC_ALL=tr_TR.UTF-8 ") + QUORLEX_CLI + " ";
    const std::string io = " " + in + " -o " + out;
    const std::string c = "LC_ALL=C ";
    const std::vector<Pair> pairs = {
        {"sort", q + "sort" + io, c + "sort -f " + in + " -o " + out, "<= 1.5 x"},
        {"upper", q + "upper" + io, c + "tr a-z A-Z < " + in + " > " + out, "<= max(0.15 s, 3 x)"},
        {"lower", q + "lower" + io, c + "tr A-Z a-z < " + in + " > " + out, "<= max(0.15 s, 3 x)"},
        {"trim", q + "trim" + io,
         c + "mawk '{ sub(/^[ \\t\\r]+/, \"\"); sub(/[ \\t\\r]+$/, \"\"); print }' " + in + " > " + out, "<= 1 x"},
        {"join", q + "join ," + io, c + "paste -sd, " + in + " > " + out, "<= 1.5 x"},
        {"shuffle", q + "shuffle --seed 1" + io, c + "shuf " + in + " -o " + out, "<= 1.5 x"},
        {"wordlist", q + "wordlist" + io, c + "tr -cs A-Za-z0-9 '\\n' < " + in + " | sort -u > " + out, "<= 1 x"},
        {"analyze --csv", q + "analyze --csv" + io, "python3 " + script + " " + in + " " + out, "<= 0.5 x"},
        {"replace", q + "replace zaman ZAMAN" + io, c + "sed s/zaman/ZAMAN/g " + in + " > " + out, "<= 2 x"},
    };
    const int runs = corpus::Smoke() ? 1 : 5;
    std::printf("corpus: %s, %.1f MB; %d runs each, taking turns after one warm-up; medians\n\n", in.c_str(),
                size / 1e6, runs);
    // On a busy machine the wall times wait for a processor; the processor times do not.
    std::printf("%-14s %8s %8s %6s  %8s %8s %6s  %-20s %s\n", "command", "ours s", "ref s", "ratio", "ours cpu",
                "ref cpu", "ratio", "target", "peak memory");
    bool anyFailed = false;
    const std::vector<std::string> only(argv + std::min(argc, 2), argv + argc);
    for (const Pair& p : pairs) {
        if (!only.empty() && std::find(only.begin(), only.end(), p.name) == only.end())
            continue;
        if (!corpus::Smoke()) {
            RunOnce(p.ours);
            RunOnce(p.reference);
        }
        int referenceFailed = 0;
        std::vector<double> ours, reference, ratios, oursCpu, referenceCpu, cpuRatios, peaks;
        int failed = 0; // of ours: a reference that cannot run here only spoils its figure
        for (int i = 0; i < runs; ++i) {
            const Run a = RunOnce(p.ours);
            const Run b = RunOnce(p.reference);
            failed += a.status != 0;
            referenceFailed += b.status != 0;
            ours.push_back(a.seconds);
            reference.push_back(b.seconds);
            ratios.push_back(a.seconds / b.seconds);
            oursCpu.push_back(a.cpu);
            referenceCpu.push_back(b.cpu);
            cpuRatios.push_back(a.cpu / std::max(b.cpu, 1e-3));
            peaks.push_back(a.peakBytes);
        }
        std::printf("%-14s %8.3f %8.3f %6.2f  %8.3f %8.3f %6.2f  %-20s %.2f x input%s\n", p.name, Median(ours),
                    Median(reference), Median(ratios), Median(oursCpu), Median(referenceCpu), Median(cpuRatios),
                    p.target, *std::max_element(peaks.begin(), peaks.end()) / size,
                    failed ? "  (ours failed)" : referenceFailed ? "  (the reference failed)" : "");
        std::fflush(stdout);
        anyFailed = anyFailed || failed;
    }
    std::remove(out.c_str());
    std::remove(script.c_str());
    return anyFailed ? 1 : 0;
}
