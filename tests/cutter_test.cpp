// The built command end to end: each case runs it in a fresh directory and
// compares its exit status, standard output, standard error and the files it
// leaves there, byte for byte.
#include <gtest/gtest.h>

#include <map>
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
    std::map<std::string, Bytes> files;  // all that the run leaves beside the image
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

    fixture::RunResult runWith(const std::vector<std::string>& args) {
        return fixture::run(config.command, args, dir.path());
    }

    fixture::RunResult runOn(const Bytes& image) {
        fixture::writeFile(dir.file("image.d88"), image);
        return runWith({"image.d88"});
    }

    void expect(const fixture::RunResult& got, const Outcome& want) {
        EXPECT_EQ(got.status, want.status);
        EXPECT_EQ(got.out, withEol(want.out));
        EXPECT_EQ(got.err, withEol(want.err));
        std::vector<std::string> names;
        for (const std::string& name : dir.entries()) {
            if (name != "image.d88") names.push_back(name);
        }
        std::vector<std::string> wantNames;
        for (const auto& file : want.files) wantNames.push_back(file.first);
        EXPECT_EQ(names, wantNames);
        for (const auto& [name, bytes] : want.files) {
            if (std::find(names.begin(), names.end(), name) == names.end()) continue;
            EXPECT_EQ(fixture::readFile(dir.file(name)), bytes) << "contents of " << name;
        }
    }

    fixture::TempDir dir;
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

TEST_F(CutterTest, RecognisesDisksInFileOrder) {
    Disk unknown = fixture::standardDisk(fixture::kProgramSignature, {});
    unknown.tracks[0].sectors[0].data[7] ^= 1;  // seven bytes of a signature only
    Disk wrongSize = fixture::programDisk();
    wrongSize.tracks[0].sectors[0].n = 2;  // the boot sector is looked up with N = 1
    Disk shortBoot = fixture::programDisk();
    shortBoot.tracks[0].sectors[0].data.resize(7);
    Disk noTrackZero = fixture::programDisk();
    noTrackZero.tracks.erase(0);

    struct Case {
        const char* name;
        std::vector<Disk> disks;
        std::string out;
    } const cases[] = {
        {"no disk", {}, ""},
        {"program disk", {fixture::programDisk()}, kProgramLine},
        {"data, unknown, program", {fixture::dataDisk(), unknown, fixture::programDisk()},
         kDataLine + kProgramLine},
        {"seven bytes of a signature", {unknown}, ""},
        {"boot sector stored with N = 2", {wrongSize}, ""},
        {"boot sector of 7 bytes", {shortBoot}, ""},
        {"no track 0", {noTrackZero}, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Outcome want;
        want.out = c.out;
        expect(runOn(fixture::buildImage(c.disks)), want);
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
