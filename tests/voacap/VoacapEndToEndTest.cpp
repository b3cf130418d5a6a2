// The built-in engine behind the command line, on the decks of real
// voacapl runs: the report and the .vg1 files must come out byte for byte
// as the reference wrote them.
#include "voacap/VoacapCommand.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

namespace {

std::string Read(const fs::path &path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// A data folder holding the fixtures' decks and antennas, and VOACAP's
// isotrope file (its four lines).
class ReferenceRuns : public ::testing::Test {
protected:
    void SetUp() override {
        char name[] = "/tmp/vantor-voacap-e2e-XXXXXX";
        ASSERT_NE(mkdtemp(name), nullptr);
        Folder = name;
        const fs::path fixtures = fs::path(VX_FIXTURES) / "voacap";
        fs::create_directories(Folder / "run");
        fs::create_directories(Folder / "areadata/ref");
        fs::create_directories(Folder / "antennas/default");
        fs::copy(fixtures / "antennas", Folder / "antennas/ref");
        for (const auto &e : fs::directory_iterator(fixtures / "p2p"))
            if (e.path().extension() == ".dat") fs::copy(e.path(), Folder / "run" / e.path().filename());
        for (const auto &e : fs::directory_iterator(fixtures / "area"))
            if (e.path().extension() == ".voa") fs::copy(e.path(), Folder / "areadata/ref" / e.path().filename());
        std::ofstream(Folder / "antennas/default/isotrope", std::ios::binary)
            << "ISOTROPE\r\n 2     2 parameters\r\n  0.00  [ 1] Max Gain dBi..:\r\n   0    [ 2] Antenna Type..:\r\n";
        Engine = vx::voacap::ModelEngine(std::string(VX_SOURCE_DIR) + "/data/ModelCoefficients.dat");
        Fixtures = fixtures;
    }
    void TearDown() override { fs::remove_all(Folder); }

    int Run(const std::vector<std::string> &args) {
        vx::voacap::TCommandLine line;
        std::string error;
        EXPECT_TRUE(vx::voacap::ParseCommandLine(args, line, error)) << error;
        Messages.str("");
        return vx::voacap::RunCommand(line, Engine, Messages);
    }

    fs::path Folder, Fixtures;
    vx::voacap::TEngine Engine;
    std::ostringstream Messages;
};

} // namespace

TEST_F(ReferenceRuns, PointReportsMatchTheReference) {
    for (const char *deck : {"p2p01", "p2p02", "p2p03", "p2p07"}) {
        const std::string out = std::string(deck) + ".out";
        ASSERT_EQ(Run({"-s", Folder.string(), std::string(deck) + ".dat", out}), 0) << Messages.str();
        EXPECT_TRUE(Read(Folder / "run" / out) == Read(Fixtures / "p2p" / out)) << deck;
    }
}

TEST_F(ReferenceRuns, AreaFilesMatchTheReference) {
    for (const char *deck : {"x16", "d16", "x31"}) {
        ASSERT_EQ(Run({"-s", Folder.string(), "area", "calc", "ref/" + std::string(deck) + ".voa"}), 0)
            << Messages.str();
        const std::string vg1 = std::string(deck) + ".vg1";
        EXPECT_TRUE(Read(Folder / "areadata/ref" / vg1) == Read(Fixtures / "area" / vg1)) << deck;
    }
}

// voacapl takes the magnetic pole from run/north_pole.txt, and from
// database/north_pole.txt only when its folder is given with the trailing "/"
// (as Vantor gives it); otherwise its built-in pole, 78.5 N 69.0 W. The
// fixtures were made without the slash and without those files.
TEST_F(ReferenceRuns, TheMagneticPoleComesFromTheFilesAsVoacaplReadsThem) {
    const std::string fixture = Read(Fixtures / "p2p" / "p2p01.out");
    fs::create_directories(Folder / "database");
    std::ofstream(Folder / "database/north_pole.txt") << "79.5 -69.0\nglat glon\n";
    ASSERT_EQ(Run({"-s", Folder.string(), "p2p01.dat", "plain.out"}), 0) << Messages.str();
    EXPECT_TRUE(Read(Folder / "run/plain.out") == fixture) << "without the slash the database file is not read";
    ASSERT_EQ(Run({"-s", Folder.string() + "/", "p2p01.dat", "slash.out"}), 0) << Messages.str();
    EXPECT_FALSE(Read(Folder / "run/slash.out") == fixture) << "with the slash its pole is used";
    // A file giving the built-in pole, or one out of range, changes nothing.
    std::ofstream(Folder / "database/north_pole.txt") << "78.5,-69.0\n";
    ASSERT_EQ(Run({"-s", Folder.string() + "/", "p2p01.dat", "same.out"}), 0);
    EXPECT_TRUE(Read(Folder / "run/same.out") == fixture);
    std::ofstream(Folder / "run/north_pole.txt") << "59.9 -69.0\n";
    std::ofstream(Folder / "database/north_pole.txt") << "91 0\n";
    ASSERT_EQ(Run({"-s", Folder.string() + "/", "p2p01.dat", "range.out"}), 0);
    EXPECT_TRUE(Read(Folder / "run/range.out") == fixture);
    // The run folder's file counts in either form.
    std::ofstream(Folder / "run/north_pole.txt") << "79.5 -69.0\n";
    ASSERT_EQ(Run({"-s", Folder.string(), "p2p01.dat", "run.out"}), 0);
    EXPECT_TRUE(Read(Folder / "run/run.out") == Read(Folder / "run/slash.out"));
}
