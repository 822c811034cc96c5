#pragma once

#include <QProcess>
#include <QStringList>
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <functional>
#include <poll.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace vedivez::test {

// What one run of a program gave.
struct ToolRun {
    int exitCode;
    std::string out;
    std::string err;
};

// Runs a program to its end (at most a minute) and collects its output.
inline ToolRun RunProgram(const QString& program, const QStringList& args) {
    QProcess p;
    p.start(program, args);
    EXPECT_TRUE(p.waitForFinished(60000)) << program.toStdString();
    return {p.exitCode(), p.readAllStandardOutput().toStdString(),
            p.readAllStandardError().toStdString()};
}

// Runs vedivez-tool.
inline ToolRun Tool(const QStringList& args) {
    return RunProgram(QStringLiteral(VEDIVEZ_TOOL_EXE), args);
}

// Runs vedivez-tool with arguments passed as raw bytes (QProcess would re-encode them), for
// at most `timeoutSeconds`; a run that takes longer is killed and counts as exit code -1.
// `inChild` runs in the child just before the tool starts (to set limits, say). A run
// ended by a signal gives minus the signal's number.
inline ToolRun ToolBytes(const std::vector<std::string>& args, int timeoutSeconds = 60,
                         const std::function<void()>& inChild = {}) {
    int outPipe[2], errPipe[2];
    if (::pipe(outPipe) != 0 || ::pipe(errPipe) != 0) {
        ADD_FAILURE() << "pipe";
        return {-1, "", ""};
    }
    std::vector<std::string> argv{VEDIVEZ_TOOL_EXE};
    argv.insert(argv.end(), args.begin(), args.end());
    std::vector<char*> pointers;
    for (std::string& a : argv)
        pointers.push_back(a.data());
    pointers.push_back(nullptr);
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::dup2(outPipe[1], 1);
        ::dup2(errPipe[1], 2);
        ::close(outPipe[0]);
        ::close(errPipe[0]);
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
        if (inChild)
            inChild();
        ::execv(pointers[0], pointers.data());
        ::_exit(127);
    }
    ::close(outPipe[1]);
    ::close(errPipe[1]);
    ToolRun run{-1, "", ""};
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(timeoutSeconds);
    pollfd fds[2] = {{outPipe[0], POLLIN, 0}, {errPipe[0], POLLIN, 0}};
    bool killed = false;
    for (int open = 2; open > 0;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            ::kill(pid, SIGKILL);
            killed = true;
            break;
        }
        if (::poll(fds, 2, int(left.count())) <= 0)
            continue;
        for (int i = 0; i < 2; ++i) {
            if (fds[i].fd < 0 || !(fds[i].revents & (POLLIN | POLLHUP)))
                continue;
            char buffer[65536];
            const ssize_t n = ::read(fds[i].fd, buffer, sizeof buffer);
            if (n > 0) {
                (i == 0 ? run.out : run.err).append(buffer, size_t(n));
            } else {
                ::close(fds[i].fd);
                fds[i].fd = -1;
                --open;
            }
        }
    }
    for (const pollfd& f : fds)
        if (f.fd >= 0)
            ::close(f.fd);
    int status = 0;
    ::waitpid(pid, &status, 0);
    if (!killed && WIFEXITED(status))
        run.exitCode = WEXITSTATUS(status);
    else if (!killed && WIFSIGNALED(status))
        run.exitCode = -WTERMSIG(status);
    EXPECT_FALSE(killed) << "the tool ran longer than " << timeoutSeconds << " s: " << args.at(0);
    return run;
}

// Writes bytes to a path given as bytes (QFile would re-encode a name that is not UTF-8).
inline void WriteRaw(const std::string& path, const std::string& bytes) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    ASSERT_GE(fd, 0) << path << ": " << std::strerror(errno);
    ASSERT_EQ(::write(fd, bytes.data(), bytes.size()), ssize_t(bytes.size()));
    ::close(fd);
}

// The whole file at a path given as bytes; "<missing>" when it cannot be read.
inline std::string ReadRaw(const std::string& path) {
    std::string bytes;
    const int fd = ::open(path.c_str(), O_RDONLY);
    if (fd < 0)
        return "<missing>";
    std::string buffer(size_t(1) << 20, '\0');
    for (ssize_t n; (n = ::read(fd, buffer.data(), buffer.size())) > 0;)
        bytes.append(buffer.data(), size_t(n));
    ::close(fd);
    return bytes;
}

// Names in a folder as the file system holds them, hidden ones included, sorted.
inline std::vector<std::string> Names(const std::string& folder) {
    std::vector<std::string> names;
    if (DIR* d = ::opendir(folder.c_str())) {
        while (dirent* e = ::readdir(d))
            if (std::strcmp(e->d_name, ".") != 0 && std::strcmp(e->d_name, "..") != 0)
                names.emplace_back(e->d_name);
        ::closedir(d);
    }
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace vedivez::test
