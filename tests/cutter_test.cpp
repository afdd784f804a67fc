// The built command end to end: each case runs it in a fresh directory and
// compares its exit status, standard output, standard error and the files it
// leaves there, byte for byte.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "tests/support/d88_builder.h"
#include "tests/support/e2e.h"
#include "tests/support/run.h"

using fixture::Bytes;
using fixture::Disk;

namespace {

// Bytes written as hex pairs, the way the tool's messages are listed.
std::string hex(const char* pairs) {
    std::string out;
    for (const char* p = pairs; *p != '\0';) {
        if (*p == ' ') {
            ++p;
            continue;
        }
        out += static_cast<char>(std::stoi(std::string(p, 2), nullptr, 16));
        p += 2;
    }
    return out;
}

const std::string kOpenFailed =
    hex("83 74 83 40 83 43 83 8B 82 F0 83 49 81 5B 83 76 83 93 82 C5 82 AB 82 DC 82 B9 82 F1 2E 0A");
const std::string kRecognised = hex("82 F0 94 46 8E AF 82 B5 82 DC 82 B5 82 BD 2E 0A");
const std::string kProgramLine = "Program Disk" + kRecognised;
const std::string kDataLine = "Data Disk" + kRecognised;

struct Outcome {
    int status = 0;
    std::string out;  // line feeds stand for the platform's line ending
    std::string err;
    std::map<std::string, Bytes> files;  // all files the run leaves beside the image...
    std::vector<std::string> others;     // ...and the other entries there, not compared
};

class CutterTest : public ::testing::Test {
protected:
    const fixture::E2eConfig& config = fixture::e2eConfig();

    static std::string withEol(const std::string& text) {
        std::string out;
        for (char ch : text) {
            if (ch == '\n') {
                out += fixture::e2eConfig().eol;
            } else {
                out += ch;
            }
        }
        return out;
    }

    fixture::RunResult runWith(const std::vector<std::string>& args,
                               const fixture::RunOptions& options = {},
                               const std::vector<std::string>& command = {}) {
        return fixture::run(command.empty() ? config.command : command, args, dir->path(), options);
    }

    // Runs on `image`, written as image.d88; with `command` given, that
    // starts the command under test instead of the suite's own words.
    fixture::RunResult runOn(const Bytes& image, const fixture::RunOptions& options = {},
                             const std::vector<std::string>& command = {}) {
        fixture::writeFile(dir->file("image.d88"), image);
        return runWith({"image.d88"}, options, command);
    }

    void expect(const fixture::RunResult& got, const Outcome& want) {
        EXPECT_FALSE(got.timedOut);
        EXPECT_EQ(got.status, want.status);
        EXPECT_EQ(got.out, withEol(want.out));
        EXPECT_EQ(got.err, withEol(want.err));
        std::vector<std::string> names;
        for (const std::string& name : dir->entries()) {
            if (name != "image.d88") names.push_back(name);
        }
        std::vector<std::string> wantNames = want.others;
        for (const auto& file : want.files) wantNames.push_back(file.first);
        std::sort(wantNames.begin(), wantNames.end());
        EXPECT_EQ(names, wantNames);
        for (const auto& [name, bytes] : want.files) {
            if (std::find(names.begin(), names.end(), name) == names.end()) continue;
            EXPECT_EQ(fixture::readFile(dir->file(name)), bytes) << "contents of " << name;
        }
    }

    // Each case of a table that leaves files starts in a directory of its own.
    void freshDir() { dir = std::make_unique<fixture::TempDir>(); }

    std::unique_ptr<fixture::TempDir> dir = std::make_unique<fixture::TempDir>();
};

TEST_F(CutterTest, WrongCommandLinePrintsUsage) {
    const std::vector<std::vector<std::string>> commandLines = {{}, {"a.d88", "b.d88"}};
    for (const auto& args : commandLines) {
        SCOPED_TRACE(args.size());
        Outcome want;
        want.status = 1;
        want.err = "Usage: " + config.usageName + " [d88file]\n";
        expect(runWith(args), want);
    }
}

TEST_F(CutterTest, ImageThatCannotBeOpened) {
    Outcome want;
    want.status = 1;
    want.err = kOpenFailed;
    expect(runWith({"missing.d88"}), want);
}

TEST_F(CutterTest, UnrecognisedDisksPassInSilence) {
    Disk sevenBytes = fixture::programDisk();
    sevenBytes.tracks[0].sectors[0].data[7] ^= 1;  // seven bytes of the signature only
    Disk wrongSize = fixture::programDisk();
    wrongSize.tracks[0].sectors[0].n = 2;  // the boot sector is looked up with N = 1
    Disk shortBoot = fixture::programDisk();
    shortBoot.tracks[0].sectors[0].data.resize(7);
    Disk noTrackZero = fixture::programDisk();
    noTrackZero.tracks.erase(0);

    struct Case {
        const char* name;
        std::vector<Disk> disks;
    } const cases[] = {
        {"empty file", {}},
        {"seven bytes of a signature", {sevenBytes}},
        {"boot sector stored with N = 2", {wrongSize}},
        {"boot sector of 7 bytes", {shortBoot}},
        {"no track 0", {noTrackZero}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        expect(runOn(fixture::buildImage(c.disks)), Outcome{});
    }
}

// ------------------------------------------------------------- the cutting

using Files = std::map<std::string, Bytes>;

Files programFiles() {
    return {
        {"DRIVER", fixture::sectorRun(4, 1, 16)}, {"VOICE", fixture::sectorRun(1, 1, 4)},
        {"MUS100", fixture::sectorRun(2, 1, 8)},  {"MUS101", fixture::sectorRun(1, 5, 4)},
        {"MUS102", fixture::sectorRun(1, 9, 4)},  {"MUS103", fixture::sectorRun(1, 13, 1)},
        {"MUS104", fixture::sectorRun(3, 1, 7)},
    };
}

Files dataFiles() {
    return {{"VOICE2", fixture::sectorRun(29, 5, 4)}, {"MUS200", fixture::sectorRun(29, 9, 4)}};
}

std::string cutting(std::initializer_list<const char*> names) {
    std::string out;
    for (const char* name : names) out += std::string("cutting ... ") + name + "\n";
    return out;
}

const std::string kProgramOut =
    kProgramLine + cutting({"DRIVER", "VOICE", "MUS100", "MUS101", "MUS102", "MUS103", "MUS104"});
const std::string kDataOut = kDataLine + cutting({"VOICE2", "MUS200"});

Files merged(Files a, const Files& b) {
    for (const auto& [name, bytes] : b) a[name] = bytes;
    return a;
}

TEST_F(CutterTest, CutsEveryRecognisedDiskInFileOrder) {
    Disk unknown = fixture::standardDisk(fixture::kProgramSignature, {1, 2, 3, 4});
    unknown.tracks[0].sectors[0].data[0] = 0;
    Outcome want;
    want.out = kDataOut + kProgramOut;
    want.files = merged(dataFiles(), programFiles());
    expect(runOn(fixture::buildImage({fixture::dataDisk(), unknown, fixture::programDisk()})), want);
}

TEST_F(CutterTest, SecondDiskOfAKindReplacesTheFirstOnesFiles) {
    Disk second = fixture::programDisk();
    for (auto& [index, track] : second.tracks) {
        for (fixture::Sector& sector : track.sectors) {
            if (index > 0) sector.data.assign(sector.data.size(), static_cast<std::uint8_t>(index));
        }
    }
    Outcome want;
    want.out = kProgramOut + kProgramOut;
    want.files = {
        {"DRIVER", Bytes(4096, 4)}, {"VOICE", Bytes(1024, 1)},  {"MUS100", Bytes(2048, 2)},
        {"MUS101", Bytes(1024, 1)}, {"MUS102", Bytes(1024, 1)}, {"MUS103", Bytes(256, 1)},
        {"MUS104", Bytes(1792, 3)},
    };
    expect(runOn(fixture::buildImage({fixture::programDisk(), second})), want);
}

// `bytes` padded with zeros to `size`.
Bytes padded(Bytes bytes, std::size_t size) {
    bytes.resize(size, 0);
    return bytes;
}

Bytes joined(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// Damage costs the files it touches, with a warning for each, and nothing
// else: the other files are whole, bytes that could not be read are zeros
// (never another file's data), and the exit status stays 0.
TEST_F(CutterTest, DamagedDisksAreCutAsFarAsTheyCanBeRead) {
    Disk noTrackOne = fixture::programDisk();
    noTrackOne.tracks.erase(1);
    Files noTrackOneFiles = programFiles();
    for (const char* gone : {"VOICE", "MUS101", "MUS102", "MUS103"}) noTrackOneFiles.erase(gone);

    Disk halfDriver = fixture::programDisk();
    halfDriver.tracks[4].sectors.resize(8);

    Disk shortVoice = fixture::programDisk();
    shortVoice.tracks[1].sectors[0].data.resize(128);
    Files shortVoiceFiles = programFiles();
    shortVoiceFiles.erase("VOICE");

    Disk shortInMus104 = fixture::programDisk();
    shortInMus104.tracks[3].sectors[2].data.resize(128);

    // Track 4 is the last in the file: cut it 100 bytes into R10's data.
    Bytes truncated = fixture::buildImage({fixture::programDisk()});
    truncated.resize(truncated.size() - 7 * (16 + 256) + 16 + 100);

    struct Case {
        const char* name;
        Bytes image;
        std::string out, err;
        Files files;
    } const cases[] = {
        {"track 1 absent", fixture::buildImage({noTrackOne}),
         kProgramLine + cutting({"DRIVER", "MUS100", "MUS104"}),
         "d88cut: warning: VOICE not written: its first sector cannot be read\n"
         "d88cut: warning: MUS101 not written: its first sector cannot be read\n"
         "d88cut: warning: MUS102 not written: its first sector cannot be read\n"
         "d88cut: warning: MUS103 not written: its first sector cannot be read\n",
         noTrackOneFiles},
        // The full disk before leaves its data in the buffer; none of it may
        // reach the second DRIVER.
        {"track 4 holds R1 to R8 only", fixture::buildImage({fixture::programDisk(), halfDriver}),
         kProgramOut + kProgramOut,
         "d88cut: warning: DRIVER is incomplete: only the first 2048 of its 4096 bytes could be read\n",
         merged(programFiles(), {{"DRIVER", padded(fixture::sectorRun(4, 1, 8), 4096)}})},
        {"first sector of VOICE short", fixture::buildImage({shortVoice}),
         kProgramLine + cutting({"DRIVER", "MUS100", "MUS101", "MUS102", "MUS103", "MUS104"}),
         "d88cut: warning: VOICE not written: its first sector cannot be read\n", shortVoiceFiles},
        {"third sector of MUS104 short", fixture::buildImage({shortInMus104}), kProgramOut,
         "d88cut: warning: MUS104 is incomplete: only the first 512 of its 1792 bytes could be read\n",
         merged(programFiles(),
                {{"MUS104", padded(joined(fixture::sectorRun(3, 1, 2), fixture::sectorContents(3, 3, 128)),
                                   1792)}})},
        {"image ends inside a sector of DRIVER", truncated, kProgramOut,
         "d88cut: warning: DRIVER is incomplete: only the first 2304 of its 4096 bytes could be read\n",
         merged(programFiles(),
                {{"DRIVER", padded(joined(fixture::sectorRun(4, 1, 9), fixture::sectorContents(4, 10, 100)),
                                   4096)}})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        freshDir();
        Outcome want;
        want.out = c.out;
        want.err = c.err;
        want.files = c.files;
        expect(runOn(c.image), want);
    }
}

// A file that cannot be written is reported with the system's reason and
// ends the run with status 1; its "cutting" line stays, every other file is
// still cut in full, whatever stood at its name is left as it was, and no
// temporary file remains.
TEST_F(CutterTest, OutputThatCannotBeWrittenIsReported) {
    const Bytes image = fixture::buildImage({fixture::programDisk()});
    std::filesystem::create_directory(dir->file("DRIVER"));
    Outcome want;
    want.status = 1;
    want.out = kProgramOut;
    want.err = std::string("d88cut: error: cannot write DRIVER: ") +
               (config.windows ? "Permission denied" : "Is a directory") + "\n";
    want.files = programFiles();
    want.files.erase("DRIVER");
    want.others = {"DRIVER"};
    expect(runOn(image), want);

    // Writes that fail midway: a limit of 2000 bytes per file stops DRIVER
    // (4096 bytes) and MUS100 (2048). The DRIVER of an earlier run stays.
    if (config.windows) return;  // POSIX resource limits
    freshDir();
    const Bytes earlier(300, 0x5A);
    fixture::writeFile(dir->file("DRIVER"), earlier);
    fixture::RunOptions limited;
    limited.fileSizeLimit = 2000;
    want.err = "d88cut: error: cannot write DRIVER: File too large\n"
               "d88cut: error: cannot write MUS100: File too large\n";
    want.files = merged(programFiles(), {{"DRIVER", earlier}});
    want.files.erase("MUS100");
    want.others = {};
    expect(runOn(image, limited), want);
}

// Whatever stands at an output name is replaced by the cut file, never
// opened or followed: a link to a file elsewhere, to the image or to a
// device, a link that leads nowhere, a FIFO. The new file has the
// permissions of any new file.
TEST_F(CutterTest, OutputNamesAreReplacedNeverFollowed) {
    if (config.windows) GTEST_SKIP() << "POSIX links and FIFOs";
    fixture::TempDir elsewhere;
    const Bytes notes = {'n', 'o', 't', 'e', 's'};
    fixture::writeFile(elsewhere.file("notes.txt"), notes);
    std::filesystem::create_symlink(elsewhere.file("notes.txt"), dir->file("DRIVER"));
    std::filesystem::create_symlink("image.d88", dir->file("VOICE"));
    std::filesystem::create_symlink("/dev/null", dir->file("MUS100"));
    std::filesystem::create_symlink("nowhere/at/all", dir->file("MUS101"));
    ASSERT_EQ(mkfifo(dir->file("MUS102").c_str(), 0644), 0);

    const Bytes image = fixture::buildImage({fixture::programDisk()});
    Outcome want;
    want.out = kProgramOut;
    want.files = programFiles();
    expect(runOn(image), want);

    EXPECT_EQ(fixture::readFile(elsewhere.file("notes.txt")), notes);
    EXPECT_EQ(fixture::readFile(dir->file("image.d88")), image);
    const mode_t mask = umask(0);
    umask(mask);
    for (const auto& file : want.files) {
        struct stat info;
        ASSERT_EQ(lstat(dir->file(file.first).c_str(), &info), 0);
        EXPECT_TRUE(S_ISREG(info.st_mode)) << file.first;
        EXPECT_EQ(info.st_mode & 07777, 0666 & ~mask) << file.first;
    }
}

// The image is never replaced by an output file: not when it is named like
// one, nor when an output name is another hard link to it.
TEST_F(CutterTest, TheImageIsNeverReplaced) {
    const Bytes image = fixture::buildImage({fixture::programDisk()});
    const std::string refused = "d88cut: error: cannot write %: it is the image being read\n";
    auto refusal = [&](const std::string& name) {
        std::string err = refused;
        return err.replace(err.find('%'), 1, name);
    };

    fixture::writeFile(dir->file("VOICE"), image);
    Outcome want;
    want.status = 1;
    want.out = kProgramOut;
    want.err = refusal("VOICE");
    want.files = merged(programFiles(), {{"VOICE", image}});
    expect(runWith({"VOICE"}), want);

    freshDir();
    fixture::writeFile(dir->file("image.d88"), image);
    std::filesystem::create_hard_link(dir->file("image.d88"), dir->file("DRIVER"));
    want.err = refusal("DRIVER");
    want.files = merged(programFiles(), {{"DRIVER", image}});
    expect(runWith({"image.d88"}), want);
    EXPECT_EQ(fixture::readFile(dir->file("image.d88")), image);
}

// Only a regular file is an image: a directory, a device or a FIFO is
// refused like a file that cannot be opened, and at once.
TEST_F(CutterTest, OnlyARegularFileIsAnImage) {
    std::filesystem::create_directory(dir->file("folder"));
    ASSERT_EQ(mkfifo(dir->file("fifo").c_str(), 0644), 0);
    const std::vector<std::string> names = {"missing.d88", "folder", "fifo",
                                            config.windows ? "NUL" : "/dev/null"};
    fixture::RunOptions prompt;
    prompt.timeoutSeconds = 10;
    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        Outcome want;
        want.status = 1;
        want.err = kOpenFailed;
        want.others = {"fifo", "folder"};
        expect(runWith({name}, prompt), want);
    }
}

// A read of the image that fails (injected with strace) is not the end of
// the image: the run says so, naming the image and the reason, stops there
// and ends with status 1. Files cut before the failure stay; the file whose
// read failed is not written, so its earlier copy stays too.
TEST_F(CutterTest, AFailedReadOfTheImageIsReported) {
    if (config.windows) GTEST_SKIP() << "strace";
    const std::string strace = fixture::findProgram("strace");
    if (strace.empty()) GTEST_SKIP() << "strace is not installed";
    // Only the image's reads count (-P), and a sanitizer build runs without
    // its leak check, which cannot work under strace.
    const char* asanOptions = std::getenv("ASAN_OPTIONS");
    auto underStrace = [&](std::vector<std::string> options) {
        options.insert(options.begin(), {strace, "-qq", "-P", dir->file("image.d88"), "-E",
                                         std::string("ASAN_OPTIONS=") + (asanOptions ? asanOptions : "") +
                                             ":detect_leaks=0"});
        options.push_back("--");
        options.insert(options.end(), config.command.begin(), config.command.end());
        return options;
    };
    // Track 1 carries 72 KB of extra sectors, more than the reader holds
    // in memory at once, so the run reads the image several times over as
    // the plan moves between tracks; the last read is for MUS104.
    Disk disk = fixture::programDisk();
    for (int r = 101; r <= 109; ++r) {
        fixture::Sector extra;
        extra.c = 0;
        extra.h = 1;
        extra.r = static_cast<std::uint8_t>(r);
        extra.data.assign(8192, 0);
        disk.tracks[1].sectors.push_back(extra);
    }
    const Bytes image = fixture::buildImage({disk});
    fixture::writeFile(dir->file("image.d88"), image);
    fixture::TempDir traces;
    ASSERT_EQ(fixture::run(underStrace({"-o", traces.file("reads"), "-e", "trace=read"}),
                           {"image.d88"}, dir->path())
                  .status,
              0);
    const Bytes trace = fixture::readFile(traces.file("reads"));
    const int reads = static_cast<int>(std::count(trace.begin(), trace.end(), '\n'));

    const Bytes earlier(100, 0x5A);
    const struct {
        const char* name;
        int failingRead;
        std::string out;
        Files files;
    } cases[] = {
        {"the first read", 1, "", {{"MUS104", earlier}}},
        {"the last read", reads,
         kProgramLine + cutting({"DRIVER", "VOICE", "MUS100", "MUS101", "MUS102", "MUS103"}),
         merged(programFiles(), {{"MUS104", earlier}})},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        freshDir();
        fixture::writeFile(dir->file("MUS104"), earlier);
        const std::string inject = "inject=read:error=EIO:when=" + std::to_string(c.failingRead);
        Outcome want;
        want.status = 1;
        want.out = c.out;
        want.err = "d88cut: error: cannot read image.d88: Input/output error\n";
        want.files = c.files;
        expect(runOn(image, {}, underStrace({"-o", "/dev/null", "-e", "trace=read", "-e", inject})),
               want);
    }
}

// A standard output that fails, on a full device or with its reader gone,
// does not stop the cut: every file is written, warnings still reach
// standard error, and the run ends by saying why, with status 1.
TEST_F(CutterTest, FailedStandardOutputEndsWithStatusOne) {
    Disk noTrackOne = fixture::programDisk();
    noTrackOne.tracks.erase(1);
    Files files = merged(programFiles(), dataFiles());
    for (const char* gone : {"VOICE", "MUS101", "MUS102", "MUS103"}) files.erase(gone);
    const std::string warnings =
        "d88cut: warning: VOICE not written: its first sector cannot be read\n"
        "d88cut: warning: MUS101 not written: its first sector cannot be read\n"
        "d88cut: warning: MUS102 not written: its first sector cannot be read\n"
        "d88cut: warning: MUS103 not written: its first sector cannot be read\n";
    const struct {
        fixture::Output output;
        const char* reason;
    } cases[] = {
        {fixture::Output::kDevFull, "No space left on device"},
        {fixture::Output::kClosedPipe, "Broken pipe"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.reason);
        freshDir();
        fixture::RunOptions options;
        options.out = c.output;
        Outcome want;
        want.status = 1;
        want.err = warnings + "d88cut: error: cannot write standard output: " + c.reason + "\n";
        want.files = files;
        expect(runOn(fixture::buildImage({noTrackOne, fixture::dataDisk()}), options), want);
    }
}

// Help and the version are asked for by the one argument alone, and answer
// on standard output with status 0. Any other single argument is the
// image, also one named like an option when given as ./NAME.
TEST_F(CutterTest, HelpAndVersion) {
    std::vector<std::string> helpOptions = {"--help", "-h"};
    if (config.windows) helpOptions.push_back("/?");
    for (const std::string& option : helpOptions) {
        SCOPED_TRACE(option);
        const fixture::RunResult got = runWith({option});
        EXPECT_EQ(got.status, 0);
        const std::string usage = withEol("Usage: " + config.usageName + " [d88file]\n");
        EXPECT_EQ(got.out.substr(0, usage.size()), usage);
        EXPECT_NE(got.out.find("MUS200"), std::string::npos) << "the help names the files";
        EXPECT_EQ(got.err, "");
        EXPECT_TRUE(dir->entries().empty());
    }

    Outcome want;
    want.out = "d88cut " + config.version + "\n";
    expect(runWith({"--version"}), want);

    const Bytes image = fixture::buildImage({fixture::programDisk()});
    fixture::writeFile(dir->file("--help"), image);
    want.out = kProgramOut;
    want.files = merged(programFiles(), {{"--help", image}});
    expect(runWith({"./--help"}), want);

    freshDir();
    want = Outcome{};
    want.status = 1;
    want.err = "Usage: " + config.usageName + " [d88file]\n";
    expect(runWith({"--help", "--version"}), want);
    if (!config.windows) {
        want.err = kOpenFailed;
        expect(runWith({"/?"}), want);  // a path like any other on POSIX
    }
}

// ------------------------------------------------ consoles and file names

// The Japanese lines as UTF-8: を認識しました. and ファイルをオープンできません.
const std::string kRecognisedUtf8 = hex("E3 82 92 E8 AA 8D E8 AD 98 E3 81 97 E3 81 BE E3 81 97 E3 81 9F 2E 0A");
const std::string kOpenFailedUtf8 = hex(
    "E3 83 95 E3 82 A1 E3 82 A4 E3 83 AB E3 82 92 E3 82 AA E3 83 BC E3 83 97 E3 83 B3 E3 81 A7 E3 81 8D "
    "E3 81 BE E3 81 9B E3 82 93 2E 0A");
const std::string kProgramOutUtf8 =
    "Program Disk" + kRecognisedUtf8 +
    cutting({"DRIVER", "VOICE", "MUS100", "MUS101", "MUS102", "MUS103", "MUS104"});

// A run's locale is only what `assignments` say.
std::vector<std::string> locale(std::initializer_list<const char*> assignments) {
    std::vector<std::string> environment = {"LC_ALL", "LC_CTYPE", "LANG"};
    environment.insert(environment.end(), assignments.begin(), assignments.end());
    return environment;
}

// Each stream on a terminal whose locale names UTF-8 shows the Japanese in
// UTF-8; a terminal in any other locale, and every pipe, gets the Shift_JIS
// bytes. The locale is the first of LC_ALL, LC_CTYPE and LANG that is set
// and not empty.
TEST_F(CutterTest, AUtf8TerminalShowsUtf8) {
    if (config.windows) GTEST_SKIP() << "a Windows console: AWindowsConsoleShowsTheTextOnAnyCodePage";
    const Bytes image = fixture::buildImage({fixture::programDisk()});
    const struct {
        const char* name;
        std::vector<std::string> environment;
        bool utf8;
    } cases[] = {
        {"C.UTF-8", locale({"LANG=C.UTF-8"}), true},
        {"en_US.utf8", locale({"LANG=en_US.utf8"}), true},
        {"a modifier", locale({"LANG=ja_JP.UTF-8@cjknarrow"}), true},
        {"UTF-8 alone", locale({"LC_CTYPE=UTF-8"}), true},
        {"LC_ALL outranks LANG", locale({"LC_ALL=C", "LANG=C.UTF-8"}), false},
        {"LC_CTYPE outranks LANG", locale({"LC_CTYPE=ja_JP.SJIS", "LANG=ja_JP.UTF-8"}), false},
        {"an empty LC_ALL does not count", locale({"LC_ALL=", "LC_CTYPE=C.UTF-8", "LANG=C"}), true},
        {"Shift_JIS", locale({"LANG=ja_JP.SJIS"}), false},
        {"EUC-JP", locale({"LANG=ja_JP.eucJP"}), false},
        {"POSIX", locale({"LANG=POSIX"}), false},
        {"none", locale({}), false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        freshDir();
        fixture::RunOptions options;
        options.environment = c.environment;
        options.out = fixture::Output::kTerminal;
        fixture::RunResult got = runOn(image, options);
        EXPECT_EQ(got.status, 0);
        EXPECT_EQ(fixture::terminalText(got.terminal), c.utf8 ? kProgramOutUtf8 : kProgramOut);
        EXPECT_EQ(got.err, "");

        options.out = fixture::Output::kPipe;
        options.err = fixture::Output::kTerminal;
        got = runWith({"missing.d88"}, options);
        EXPECT_EQ(got.status, 1);
        EXPECT_EQ(got.out, "");
        EXPECT_EQ(fixture::terminalText(got.terminal), c.utf8 ? kOpenFailedUtf8 : kOpenFailed);
    }
}

// Pipes get the exact Shift_JIS bytes whatever the locale: what scripts read
// does not change with the terminal.
TEST_F(CutterTest, PipesGetShiftJisInAnyLocale) {
    fixture::RunOptions options;
    options.environment = locale({"LANG=C.UTF-8"});
    Outcome want;
    want.out = kProgramOut;
    want.files = programFiles();
    expect(runOn(fixture::buildImage({fixture::programDisk()}), options), want);
    freshDir();
    want = Outcome{};
    want.status = 1;
    want.err = kOpenFailed;
    expect(runWith({"missing.d88"}, options), want);
}

// A Windows console is written in UTF-16, so it shows the Japanese right on
// any code page. Wine gives a program whose streams are a terminal a console
// and shows its text in the terminal's UTF-8.
TEST_F(CutterTest, AWindowsConsoleShowsTheTextOnAnyCodePage) {
    if (!config.windows) GTEST_SKIP() << "POSIX terminals: AUtf8TerminalShowsUtf8";
    fixture::RunOptions options;
    options.environment = locale({"LANG=C.UTF-8"});
    options.out = fixture::Output::kTerminal;
    options.err = fixture::Output::kTerminal;
    fixture::RunResult got = runOn(fixture::buildImage({fixture::programDisk()}), options);
    EXPECT_EQ(got.status, 0);
    EXPECT_EQ(fixture::terminalText(got.terminal), kProgramOutUtf8);
    got = runWith({"missing.d88"}, options);
    EXPECT_EQ(got.status, 1);
    EXPECT_EQ(fixture::terminalText(got.terminal), kOpenFailedUtf8);

    // The usage line names the program right, whatever its name's script.
    std::vector<std::string> command = config.command;
    const std::string renamed = dir->file("\xE3\x82\xAB\xE3\x83\x83\xE3\x83\x88.exe");  // カット.exe
    std::filesystem::copy_file(command.back(), renamed);
    command.back() = renamed;
    std::string shownName = "Z:" + renamed;
    std::replace(shownName.begin(), shownName.end(), '/', '\\');
    got = runWith({}, options, command);
    EXPECT_EQ(got.status, 1);
    EXPECT_EQ(fixture::terminalText(got.terminal), "Usage: " + shownName + " [d88file]\n");
}

// Images named in any script open and are cut, on every host.
TEST_F(CutterTest, ImagesNamedInAnyScriptOpen) {
    const Bytes image = fixture::buildImage({fixture::programDisk()});
    fixture::RunOptions options;
    options.environment = locale({"LANG=C.UTF-8"});  // Wine reads the command line in it
    const char* const names[] = {
        "\xE3\x83\x87\xE3\x82\xA3\xE3\x82\xB9\xE3\x82\xAF.d88",  // ディスク.d88
        "\xEB\x94\x94\xEC\x8A\xA4\xED\x81\xAC.d88",              // 디스크.d88
        "disk-\xF0\x9F\x98\x80.d88",                                  // disk-😀.d88
    };
    for (const char* name : names) {
        SCOPED_TRACE(name);
        freshDir();
        fixture::writeFile(dir->file(name), image);
        Outcome want;
        want.out = kProgramOut;
        want.files = merged(programFiles(), {{name, image}});
        expect(runWith({name}, options), want);
    }
}

}  // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (!fixture::parseE2eArgs(argc, argv)) {
        return 2;
    }
    return RUN_ALL_TESTS();
}
