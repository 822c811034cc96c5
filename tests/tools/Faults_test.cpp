// The tool against hostile input and failing disks: every failure is reported with the
// editor's message and exit code 1, no output is left half-written, and nothing waits for
// ever. Tests that mount a file system or make device nodes need root (CI runs as root);
// elsewhere they are skipped with the reason.
#include "ToolRunner.h"
#include "support/MountedTmpfs.h"

#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

using vedivez::test::MountedTmpfs;
using vedivez::test::Names;
using vedivez::test::ReadRaw;
using vedivez::test::ToolBytes;
using vedivez::test::ToolRun;
using vedivez::test::WriteRaw;

namespace {

std::string Line(int x, int y, const std::string& name) {
    return "PRUSVITKA;X=" + std::to_string(x) + ";Y=" + std::to_string(y) + ";NAME=" + name +
           ";Cont_LH=0;Cont_LS=-1;Cont_LD=0;Cont_SH=0;Cont_SD=0;Cont_PH=0;Cont_PS=-1;"
           "Cont_PD=0\r\n";
}

// AddressSanitizer reserves more address space than any memory limit of a test leaves.
constexpr bool kAddressSanitizer =
#if defined(__SANITIZE_ADDRESS__)
    true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
    true;
#else
    false;
#endif
#else
    false;
#endif

// A small station: a 20 x 12 panel with a row of track.
std::string SmallStation() {
    std::string s = "SET_Vyska;12\r\nSET_Sirka;20\r\n";
    for (int c = 2; c < 8; ++c)
        s += Line(c, 3, "KOL_sLSPS");
    return s;
}

} // namespace

// A value of 20 million digits: the answer comes at once, its message quotes 40 characters.
TEST(ToolFaultsTest, HugeBadValueGivesAShortMessage) {
    QTemporaryDir dir;
    const std::string path = dir.filePath("big.reru").toStdString();
    WriteRaw(path, "SET_Vyska;" + std::string(20'000'000, '9') + "\r\n");
    const ToolRun r = ToolBytes({"check", path}, 10);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err,
              path + ":1: '" + std::string(39, '9') + "\u2026' is not a valid integer value.\n");
}

// Every output on a disk that is full: exit code 1 with the editor's message, the old file
// byte for byte as it was, and no other file left.
TEST(ToolFaultsTest, OutputsOnAFullDiskFailAndKeepTheOldFile) {
    MountedTmpfs fs("size=1m");
    if (!fs.Mounted())
        GTEST_SKIP() << "cannot mount a tmpfs here (" << fs.Error() << "); needs root";
    QTemporaryDir work;
    const std::string station = work.filePath("s.reru").toStdString();
    WriteRaw(station, SmallStation());
    const std::vector<std::vector<std::string>> commands = {
        {"convert", station, fs.NativePath("out.reru")},
        {"render", station, fs.NativePath("out.png")},
        {"export", station, fs.NativePath("out.pdf")},
        {"export", station, fs.NativePath("out.svg")},
    };
    for (const auto& c : commands)
        WriteRaw(c[2], "old " + c[2]);
    const std::vector<std::string> before = Names(fs.Folder());
    fs.Fill(".filler");
    for (const auto& c : commands) {
        const ToolRun r = ToolBytes(c);
        EXPECT_EQ(r.exitCode, 1) << c[0] << " " << c[2];
        EXPECT_EQ(r.err, "Disk full.\n") << c[0] << " " << c[2];
        EXPECT_EQ(ReadRaw(c[2]), "old " + c[2]);
    }
    std::vector<std::string> after = Names(fs.Folder());
    after.erase(std::find(after.begin(), after.end(), ".filler"));
    EXPECT_EQ(after, before);
}

// A FIFO or /dev/zero as input is refused at once; a FIFO or a device node as output is
// refused and stays what it was.
TEST(ToolFaultsTest, NonRegularFilesAreRefused) {
    QTemporaryDir dir;
    const std::string fifo = dir.filePath("pipe.reru").toStdString();
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    for (const char* command : {"check", "lint"}) {
        for (const std::string& input : {fifo, std::string("/dev/zero")}) {
            const ToolRun r = ToolBytes({command, input}, 10);
            EXPECT_EQ(r.exitCode, std::string(command) == "lint" ? 2 : 1) << command << input;
            EXPECT_EQ(r.err, "File access denied.\n") << command << " " << input;
        }
    }

    const std::string station = dir.filePath("s.reru").toStdString();
    WriteRaw(station, SmallStation());
    std::vector<std::pair<std::string, mode_t>> outputs = {{fifo, S_IFIFO}};
    const std::string device = dir.filePath("null.pdf").toStdString();
    if (::mknod(device.c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0)
        outputs.emplace_back(device, S_IFCHR);
    else
        std::cout << "[ SKIPPED  ] the device node cases: mknod needs root\n";
    for (const auto& [node, type] : outputs) {
        for (const char* command : {"convert", "render", "export"}) {
            // The export picks its format by the extension, so it writes a PDF here.
            if (std::string(command) == "export" && type == S_IFIFO)
                continue;
            const ToolRun r = ToolBytes({command, station, node}, 10);
            EXPECT_EQ(r.exitCode, 1) << command << " " << node;
            EXPECT_EQ(r.err, "File access denied.\n") << command << " " << node;
            struct stat st {};
            ASSERT_EQ(::lstat(node.c_str(), &st), 0);
            EXPECT_EQ(st.st_mode & S_IFMT, type) << command << " " << node;
        }
    }
}

// File names are bytes: a name in another encoding than UTF-8 is read and written as it
// is, never mangled.
TEST(ToolFaultsTest, FileNamesThatAreNotUtf8) {
    QTemporaryDir dir;
    const std::string folder = dir.path().toStdString();
    const std::string in = folder + "/P\xf8"
                                    "erov.reru";
    WriteRaw(in, SmallStation());
    const ToolRun check = ToolBytes({"check", in});
    EXPECT_EQ(check.exitCode, 0) << check.err;
    EXPECT_EQ(check.out, "rows=12 cols=20 elements=6\n");
    EXPECT_EQ(ToolBytes({"lint", in}).exitCode, 1);

    const std::vector<std::string> outputs = {"v\xfdstup.reru", "obr\xe1zek.png", "tisk\xe8.pdf",
                                              "v\xe8kres.svg"};
    EXPECT_EQ(ToolBytes({"convert", in, folder + "/" + outputs[0]}).exitCode, 0);
    EXPECT_EQ(ToolBytes({"render", in, folder + "/" + outputs[1]}).exitCode, 0);
    EXPECT_EQ(ToolBytes({"export", in, folder + "/" + outputs[2]}).exitCode, 0);
    EXPECT_EQ(ToolBytes({"export", in, folder + "/" + outputs[3]}).exitCode, 0);
    std::vector<std::string> expected = outputs;
    expected.push_back("P\xf8"
                       "erov.reru");
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(Names(folder), expected);
    EXPECT_EQ(ReadRaw(folder + "/" + outputs[0]).substr(0, 14), "SET_Vyska;12\r\n");

    const ToolRun missing = ToolBytes({"check", folder + "/chyb\xed.reru"});
    EXPECT_EQ(missing.err, "File not found.\n");
    // QTemporaryDir cannot name these files to remove them.
    for (const std::string& name : Names(folder))
        ::unlink((folder + "/" + name).c_str());
}

// Options with values at the ends of the integer range, or absurd sizes: each has a clear
// message, and nothing is computed with a value that wrapped round.
TEST(ToolFaultsTest, AbsurdOptionValues) {
    QTemporaryDir dir;
    const std::string station = dir.filePath("s.reru").toStdString();
    WriteRaw(station, SmallStation());
    const std::string png = dir.filePath("o.png").toStdString();
    const std::string pdf = dir.filePath("o.pdf").toStdString();
    const struct {
        std::vector<std::string> args;
        int exitCode;
        std::string message;
    } cases[] = {
        {{"render", station, png, "--view", "2147483600,0,100,100"},
         2,
         "--view lies outside the panel's surface"},
        {{"render", station, png, "--view", "-2147483648,-2147483648,2147483647,2147483647"},
         2,
         "--view lies outside the panel's surface"},
        {{"render", station, png, "--view", "0,0,2147483648,5"},
         2,
         "--view takes integers from -2147483648 to 2147483647"},
        {{"render", station, png, "--view", "0,0,99999999999999999999999,5"},
         2,
         "--view takes integers from -2147483648 to 2147483647"},
        {{"render", station, png, "--cursor", "91382283,0"},
         2,
         "--cursor takes a column and a row from 0 to 3999"},
        {{"render", station, png, "--cursor", "-1,0"},
         2,
         "--cursor takes a column and a row from 0 to 3999"},
        {{"render", station, png, "--cursor", "+-5,0"},
         2,
         "--cursor expects 2 comma-separated integers"},
        {{"export", station, pdf, "--cell-mm", "1e-9"},
         2,
         "--cell-mm takes a size in millimetres from 0.01 to 1000"},
        {{"export", station, pdf, "--cell-mm", "inf"},
         2,
         "--cell-mm takes a size in millimetres from 0.01 to 1000"},
        {{"export", station, pdf, "--cell-mm", "nan"},
         2,
         "--cell-mm takes a size in millimetres from 0.01 to 1000"},
    };
    for (const auto& c : cases) {
        const ToolRun r = ToolBytes(c.args);
        EXPECT_EQ(r.exitCode, c.exitCode) << c.args[3] << " " << c.args[4];
        EXPECT_EQ(r.err.substr(0, r.err.find('\n')), "vedivez-tool: " + c.message)
            << c.args[3] << " " << c.args[4];
        EXPECT_FALSE(QFile::exists(QString::fromStdString(c.args[2])));
    }

    // A view that starts inside and reaches past the 32-bit range draws the rest of the
    // surface; the last cursor cell of the largest panel is fine.
    const ToolRun wide = ToolBytes({"render", station, png, "--view", "100,0,2147483647,47",
                                    "--cursor", "+3999, 3999", "--cursor-cell"});
    ASSERT_EQ(wide.exitCode, 0) << wide.err;
    EXPECT_EQ(QImage(QString::fromStdString(png)).size(), QSize(20 * 47 - 100, 47));
    // The smallest cells print the whole panel on one page.
    EXPECT_EQ(ToolBytes({"export", station, pdf, "--cell-mm", "0.01"}).exitCode, 0);
}

// An export that would take millions of pages is refused at once, saying how many and
// what to change.
TEST(ToolFaultsTest, ExportRefusesMoreThanTenThousandPages) {
    QTemporaryDir dir;
    const std::string station = dir.filePath("big.reru").toStdString();
    WriteRaw(station, "SET_Vyska;4000\r\nSET_Sirka;4000\r\n" + Line(1, 1, "KOL_sLSPS"));
    const std::string pdf = dir.filePath("o.pdf").toStdString();
    const ToolRun r = ToolBytes({"export", station, pdf, "--area", "panel", "--cell-mm", "60"}, 20);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, "vedivez-tool: the export would take 2666000 pages (1333 down, 2000 "
                     "across) at --cell-mm 60; at most 10000 are written: choose a smaller "
                     "--cell-mm, leave it out to fit one page, or use a larger --page\n");
    EXPECT_FALSE(QFile::exists(QString::fromStdString(pdf)));
}

// Elements at the ends of the integer range are linted without overflow (the sanitizer
// build aborts on one).
TEST(ToolFaultsTest, LintOfCellsAtTheIntegerLimits) {
    QTemporaryDir dir;
    std::string s = "SET_Vyska;10\r\nSET_Sirka;10\r\n";
    for (int i = 0; i < 20; ++i)
        s += Line(i % 10, i / 10, "KOL_sLSPS");
    s += Line(2147483647, 0, "KOL_sLSPS") + Line(-2147483647 - 1, 2147483647, "KOL_sLSPS");
    const std::string station = dir.filePath("s.reru").toStdString();
    WriteRaw(station, s);
    const ToolRun r = ToolBytes({"lint", station});
    EXPECT_EQ(r.exitCode, 1) << r.err;
    EXPECT_NE(r.out.find("2147483647,0 KOL_sLSPS: lies outside the panel"), std::string::npos);
}

// Memory running out is said as the editor says it.
TEST(ToolFaultsTest, OutOfMemoryIsReportedPlainly) {
    if (kAddressSanitizer)
        GTEST_SKIP() << "AddressSanitizer needs more address space than the limit leaves";
    QTemporaryDir dir;
    const std::string station = dir.filePath("name.reru").toStdString();
    WriteRaw(station, "PRUSVITKA;X=1;Y=1;NAME=" + std::string(100'000'000, 'N') + "\r\n");
    const ToolRun r = ToolBytes({"check", station}, 60, [] {
        const rlimit limit{300 << 20, 300 << 20};
        ::setrlimit(RLIMIT_AS, &limit);
    });
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, "Out of memory.\n");
}

// Twenty million lines of an unknown kind: the reader keeps their count and the first few,
// so checking and linting the file needs no more memory than a small station (a limit of
// 400 MB, where a record of each line would take over a gigabyte), and lint lists the first
// hundred, then the rest in one line.
TEST(ToolFaultsTest, FloodsOfUnknownLinesNeedNoMemoryOfTheirOwn) {
    // Under AddressSanitizer no limit applies, so a tenth of the lines shows the outputs.
    const int count = kAddressSanitizer ? 2'000'000 : 20'000'000;
    const std::string n = std::to_string(count);
    QTemporaryDir dir;
    const std::string path = dir.filePath("flood.reru").toStdString();
    std::string bytes;
    bytes.reserve(size_t(count) * 2);
    for (int i = 0; i < count; ++i)
        bytes += "X\n";
    WriteRaw(path, bytes);
    bytes = std::string();
    auto limited = [] {
        const rlimit limit{400 << 20, 400 << 20};
        if (!kAddressSanitizer)
            ::setrlimit(RLIMIT_AS, &limit);
    };
    const ToolRun check = ToolBytes({"check", path}, 60, limited);
    EXPECT_EQ(check.exitCode, 0) << check.err;
    EXPECT_EQ(check.err, "warning: " + n +
                             " lines of an unknown kind (first at line 1) ignored; a save does "
                             "not write them\n");
    const ToolRun lint = ToolBytes({"lint", path}, 60, limited);
    EXPECT_EQ(lint.exitCode, 1) << lint.err;
    const size_t lines = size_t(std::count(lint.out.begin(), lint.out.end(), '\n'));
    EXPECT_EQ(lines, 102u);
    EXPECT_NE(lint.out.find("line 100: unknown line kind \"X\" is ignored and not saved\n"
                            "line 101: " +
                            std::to_string(count - 100) +
                            " more lines of an unknown kind, up to line " + n +
                            ", are ignored and not saved\n" + n + " problems, 0 notes\n"),
              std::string::npos)
        << lint.out.substr(lint.out.size() - std::min<size_t>(lint.out.size(), 300));
}
