// The command line of vantor-voacap and what it does around the
// computation: which files it reads and writes, and which problems end the
// run with status 1 and a message instead of an output.
#include "voacap/VoacapCommand.h"

#include "../model/DeckTestDecks.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;
using vx::voacap::AreaOutputName;
using vx::voacap::ParseCommandLine;
using vx::voacap::RunCommand;
using vx::voacap::TCommandLine;
using vx::voacap::TEngine;

namespace {

TCommandLine Parsed(const std::vector<std::string> &args) {
    TCommandLine line;
    std::string error;
    EXPECT_TRUE(ParseCommandLine(args, line, error)) << error;
    return line;
}

std::string ParseError(const std::vector<std::string> &args) {
    TCommandLine line;
    std::string error;
    EXPECT_FALSE(ParseCommandLine(args, line, error));
    return error;
}

void Write(const fs::path &path, const std::string &text) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

std::string Read(const fs::path &path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// A data folder with the run and area folders and the isotrope the decks
// name; the stand-in computation records what it was given.
class VoacapRun : public ::testing::Test {
protected:
    void SetUp() override {
        char name[] = "/tmp/vantor-voacap-XXXXXX";
        ASSERT_NE(mkdtemp(name), nullptr);
        Folder = name;
        fs::create_directories(Folder / "run");
        fs::create_directories(Folder / "areadata");
        Write(Folder / "antennas/default/isotrope",
              "ISOTROPE\r\n 2     2 parameters\r\n  0.00  [ 1] Max Gain dBi..:\r\n   0    [ 2] Antenna Type..:\r\n");
        Engine.Point = [this](const vx::model::TDeck &deck, const vx::model::TAntennaLibrary &, std::string &text,
                              std::string &error) {
            ++Calls;
            text = "point run of " + std::to_string(deck.Cards.size()) + " cards";
            error = "stand-in failure";
            return !Fail;
        };
        Engine.Area = [this](const vx::model::TDeck &deck, const vx::model::TAntennaLibrary &, std::string &text,
                             std::string &) {
            ++Calls;
            text = "area run of grid " + std::to_string(deck.GridSize);
            return deck.Kind == vx::model::TDeckKind::dkArea;
        };
    }
    void TearDown() override { fs::remove_all(Folder); }

    int Run(const std::vector<std::string> &args) {
        Messages.str("");
        return RunCommand(Parsed(args), Engine, Messages);
    }
    std::vector<fs::path> Files(const fs::path &folder) {
        std::vector<fs::path> files;
        for (const auto &e : fs::directory_iterator(folder)) files.push_back(e.path().filename());
        return files;
    }

    fs::path Folder;
    TEngine Engine;
    std::ostringstream Messages;
    int Calls = 0;
    bool Fail = false;
};

} // namespace

TEST(VoacapCommandLine, ReadsVoacaplsArguments) {
    TCommandLine line = Parsed({"-s", "/data/itshfbc", "p2p.dat", "p2p.out"});
    EXPECT_TRUE(line.Silent);
    EXPECT_EQ(line.Folder, "/data/itshfbc");
    EXPECT_FALSE(line.Area);
    EXPECT_EQ(line.Deck, "p2p.dat");
    EXPECT_EQ(line.Output, "p2p.out");
    line = Parsed({"/data/itshfbc"});
    EXPECT_FALSE(line.Silent);
    EXPECT_EQ(line.Deck, "voacapx.dat");
    EXPECT_EQ(line.Output, "voacapx.out");
    line = Parsed({"-s", "/data/itshfbc", "area", "calc", "Vantor/Vantor.voa"});
    EXPECT_TRUE(line.Area);
    EXPECT_EQ(line.Deck, "Vantor/Vantor.voa");
    EXPECT_EQ(line.Output, "Vantor/Vantor.vg1");
    EXPECT_EQ(AreaOutputName("a.b/deck.VOA"), "a.b/deck.vg1");
    EXPECT_EQ(AreaOutputName("deck"), "");
    EXPECT_EQ(AreaOutputName("sub.dir/deck"), "");
}

TEST(VoacapCommandLine, RefusesWhatItDoesNotRun) {
    EXPECT_NE(ParseError({"--silent", "/d", "a.dat", "a.out"}).find("option not recognised: --silent"),
              std::string::npos);
    EXPECT_NE(ParseError({"-s"}).find("usage"), std::string::npos);
    EXPECT_NE(ParseError({"/d", "area", "print", "x/y.voa"}).find("area calc"), std::string::npos);
    EXPECT_NE(ParseError({"/d", "area", "calc", "x/y"}).find("extension"), std::string::npos);
    EXPECT_NE(ParseError({"/d", "a.dat", "a.out", "a"}).find("unexpected"), std::string::npos);
    EXPECT_NE(ParseError({"/d", "../a.dat", "a.out"}).find("below"), std::string::npos);
    EXPECT_NE(ParseError({"/d", "a.dat", "/tmp/a.out"}).find("below"), std::string::npos);
}

TEST_F(VoacapRun, WritesThePointReportWholeUnderItsName) {
    Write(Folder / "run/deck.dat", vx::model::test::SydneyLondonDeck());
    EXPECT_EQ(Run({"-s", Folder.string(), "deck.dat", "deck.out"}), 0) << Messages.str();
    EXPECT_EQ(Read(Folder / "run/deck.out"), "point run of 30 cards");
    EXPECT_EQ(Files(Folder / "run").size(), 2u); // no temporary left
    EXPECT_EQ(Messages.str(), "");
    // A trailing slash on the folder changes nothing.
    EXPECT_EQ(Run({Folder.string() + "/", "deck.dat", "deck.out"}), 0);
    EXPECT_NE(Messages.str().find("deck.out"), std::string::npos);
}

TEST_F(VoacapRun, WritesTheAreaResultBesideItsDeck) {
    Write(Folder / "areadata/Vantor/Vantor.voa", vx::model::test::DipoleAreaDeck());
    Write(Folder / "antennas/ref/dipole10m.t14", "");
    // The dipole file is empty: the antenna loader refuses it by name.
    EXPECT_EQ(Run({"-s", Folder.string(), "area", "calc", "Vantor/Vantor.voa"}), 1);
    EXPECT_NE(Messages.str().find("dipole10m.t14"), std::string::npos);
    EXPECT_FALSE(fs::exists(Folder / "areadata/Vantor/Vantor.vg1"));
    std::string isotropic = vx::model::test::DipoleAreaDeck();
    for (std::size_t at; (at = isotropic.find("ref/dipole10m.t14")) != std::string::npos;)
        isotropic.replace(at, 17, "default/isotrope ");
    Write(Folder / "areadata/Vantor/Vantor.voa", isotropic);
    EXPECT_EQ(Run({"-s", Folder.string(), "area", "calc", "Vantor/Vantor.voa"}), 0) << Messages.str();
    EXPECT_EQ(Read(Folder / "areadata/Vantor/Vantor.vg1"), "area run of grid 16");
}

TEST_F(VoacapRun, EndsWithStatusOneAndNoOutputOnEveryProblem) {
    const std::string deck = vx::model::test::SydneyLondonDeck();
    auto expectFailure = [&](const std::string &text, const std::string &message) {
        Write(Folder / "run/deck.dat", text);
        EXPECT_EQ(Run({"-s", Folder.string(), "deck.dat", "deck.out"}), 1) << message;
        EXPECT_NE(Messages.str().find(message), std::string::npos) << Messages.str();
        EXPECT_FALSE(fs::exists(Folder / "run/deck.out"));
    };
    std::string unknown = deck;
    unknown.replace(unknown.find("LINEMAX"), 7, "LINEMIX");
    expectFailure(unknown, "unknown card \"LINEMIX\"");
    std::string method = deck;
    method.replace(method.find("METHOD       23"), 15, "METHOD       20");
    expectFailure(method, "only METHOD 23");
    std::string antenna = deck;
    antenna.replace(antenna.find("default/isotrope"), 16, "default/missing ");
    expectFailure(antenna, "default/missing");
    EXPECT_EQ(Calls, 0);
    Fail = true;
    expectFailure(deck, "stand-in failure");
    EXPECT_EQ(Files(Folder / "run").size(), 1u);
    EXPECT_EQ(Run({"-s", Folder.string(), "none.dat", "none.out"}), 1);
    EXPECT_NE(Messages.str().find("none.dat"), std::string::npos);
    EXPECT_EQ(Run({"-s", (Folder / "nowhere").string(), "deck.dat", "deck.out"}), 1);
    EXPECT_NE(Messages.str().find("no data folder"), std::string::npos);
}
