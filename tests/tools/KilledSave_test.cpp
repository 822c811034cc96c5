// Conversions of a million-element station killed while they write: the output is always
// the old file or the complete new one, and no temporary file is left beside it.
#include "ToolRunner.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <random>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

using vedivez::test::Names;
using vedivez::test::ReadRaw;
using vedivez::test::WriteRaw;

namespace {

// Whether the process has a file open in `folder` other than `except`: the temporary file
// of its save, named or not (an unnamed one shows as "folder/#inode (deleted)").
bool WritesInto(pid_t pid, const std::string& folder, const std::string& except) {
    const std::string fds = "/proc/" + std::to_string(pid) + "/fd";
    for (const std::string& fd : Names(fds)) {
        char target[4096];
        const ssize_t n = ::readlink((fds + "/" + fd).c_str(), target, sizeof target - 1);
        if (n <= 0)
            continue;
        const std::string path(target, size_t(n));
        if (path.rfind(folder + "/", 0) == 0 && path != except)
            return true;
    }
    return false;
}

} // namespace

TEST(KilledSaveTest, KilledConversionsLeaveTheOldOrTheNewFileAndNothingElse) {
    QTemporaryDir dir;
    const std::string folder = dir.path().toStdString();
    const std::string in = folder + "/in.reru", out = folder + "/out.reru";
    {
        std::string station = "SET_Vyska;1000\r\nSET_Sirka;1000\r\n";
        station.reserve(size_t(120) << 20);
        for (int i = 0; i < 1'000'000; ++i)
            station += "PRUSVITKA;X=" + std::to_string(i % 1000) +
                       ";Y=" + std::to_string(i / 1000) +
                       ";NAME=KOL_sLSPS;Cont_LH=0;Cont_LS=-1;Cont_LD=0;Cont_SH=0;Cont_SD=0;"
                       "Cont_PH=0;Cont_PS=-1;Cont_PD=0\r\n";
        WriteRaw(in, station);
    }
    const std::string old = "the old file";
    WriteRaw(out, old);

    std::mt19937 random(2024);
    std::string complete; // the converted station, once a run got to its end
    int killedWhileWriting = 0;
    for (int run = 0; run < 5; ++run) {
        std::vector<std::string> args = {VEDIVEZ_TOOL_EXE, "convert", in, out};
        std::vector<char*> argv;
        for (std::string& a : args)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        pid_t pid = 0;
        ASSERT_EQ(::posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), environ), 0);
        // Wait until the save has its temporary file open, then let it write a little.
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(120);
        bool writing = false;
        int status = 0;
        while (!writing && std::chrono::steady_clock::now() < deadline &&
               ::waitpid(pid, &status, WNOHANG) == 0) {
            writing = WritesInto(pid, folder, in);
            if (!writing)
                std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
        if (writing) {
            std::this_thread::sleep_for(std::chrono::milliseconds(random() % 40));
            ::kill(pid, SIGKILL);
            ::waitpid(pid, &status, 0);
            killedWhileWriting += WIFSIGNALED(status);
        }
        ASSERT_TRUE(writing || WIFEXITED(status)) << "the conversion neither wrote nor ended";

        EXPECT_EQ(Names(folder), (std::vector<std::string>{"in.reru", "out.reru"}))
            << "after run " << run;
        const std::string now = ReadRaw(out);
        if (now != old) {
            if (complete.empty())
                complete = now;
            EXPECT_EQ(now.size(), complete.size()) << "after run " << run;
            EXPECT_TRUE(now == complete) << "after run " << run;
            EXPECT_EQ(now.substr(0, 16), "SET_Vyska;1000\r\n");
        }
    }
    EXPECT_GE(killedWhileWriting, 3);
}
