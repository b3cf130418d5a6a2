#include "voacap/VoacapCommand.h"

#include "common/FileUtil.h"
#include "common/Paths.h"
#include "engine/ModelFiles.h"
#include "model/AreaRun.h"
#include "model/ModelData.h"
#include "model/PointRun.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <ostream>
#include <sstream>

#include <unistd.h>

namespace vx::voacap {

namespace fs = std::filesystem;

namespace {

// A name below a fixed folder: relative, not climbing out of it.
bool StaysBelow(const std::string &name) {
    if (name.empty() || name.front() == '/') return false;
    for (const auto &part : fs::path(name))
        if (part == "..") return false;
    return true;
}

bool ReadBounded(const std::string &path, std::string &bytes, std::string &error) {
    std::error_code ec;
    if (!fs::is_regular_file(path, ec)) {
        error = "cannot find the deck " + path;
        return false;
    }
    const auto size = fs::file_size(path, ec);
    if (ec || size > model::kMaxDeckBytes) {
        error = "the deck " + path + " is too large or unreadable";
        return false;
    }
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    if (!in && !in.eof()) {
        error = "cannot read the deck " + path;
        return false;
    }
    bytes = text.str();
    return true;
}

std::string WithSlash(std::string folder) {
    if (folder.empty() || folder.back() != '/') folder += '/';
    return folder;
}

} // namespace

bool ParseCommandLine(const std::vector<std::string> &args, TCommandLine &line, std::string &error) {
    line = TCommandLine{};
    std::size_t k = 0;
    for (; k < args.size() && !args[k].empty() && args[k][0] == '-'; ++k) {
        if (args[k] != "-s") {
            error = "option not recognised: " + args[k];
            return false;
        }
        line.Silent = true;
    }
    if (k == args.size()) {
        error = "usage: vantor-voacap [-s] FOLDER DECK OUT | [-s] FOLDER area calc SUB/NAME.voa";
        return false;
    }
    line.Folder = args[k++];
    const std::vector<std::string> rest(args.begin() + std::ptrdiff_t(k), args.end());
    if (!rest.empty() && rest[0] == "area") {
        line.Area = true;
        if (rest.size() != 3 || rest[1] != "calc") {
            error = "area runs take: area calc SUB/NAME.voa";
            return false;
        }
        line.Deck = rest[2];
        line.Output = AreaOutputName(line.Deck);
        if (line.Output.empty()) {
            error = "the area deck " + line.Deck + " has no 3-letter extension";
            return false;
        }
    } else {
        if (rest.size() > 2) {
            error = "unexpected argument: " + rest[2];
            return false;
        }
        line.Deck = rest.size() > 0 ? rest[0] : "voacapx.dat";
        line.Output = rest.size() > 1 ? rest[1] : "voacapx.out";
    }
    if (!StaysBelow(line.Deck) || !StaysBelow(line.Output)) {
        error = "deck and output must be names below the data folder";
        return false;
    }
    return true;
}

std::string AreaOutputName(const std::string &deck) {
    const std::size_t dot = deck.rfind('.');
    if (dot == std::string::npos || deck.size() - dot != 4 || deck.find('/', dot) != std::string::npos) return {};
    return deck.substr(0, dot + 1) + "vg1";
}

bool WriteWhole(const std::string &path, const std::string &text, std::string &error) {
    const std::string temporary = path + ".part" + std::to_string(::getpid());
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out.write(text.data(), std::streamsize(text.size()));
        out.close();
        if (!out) {
            std::remove(temporary.c_str());
            error = "cannot write " + path;
            return false;
        }
    }
    std::error_code ec;
    fs::rename(temporary, path, ec);
    if (ec) {
        std::remove(temporary.c_str());
        error = "cannot write " + path + ": " + ec.message();
        return false;
    }
    return true;
}

TEngine ModelEngine(std::string dataPath) {
    auto load = std::make_shared<model::TModelDataLoad>();
    auto data = [load, dataPath](std::string &error) -> const model::TModelData * {
        if (!load->Data && load->Error.empty()) *load = model::LoadModelData(dataPath);
        if (!load->Data) error = load->Error;
        return load->Data.get();
    };
    auto engine = [data](auto run) {
        return [data, run](const model::TDeck &deck, const model::TAntennaLibrary &antennas, std::string &text,
                           std::string &error) {
            const model::TAntennaStep step = [&](model::TModelState &s, std::string &message) {
                return model::ApplyDeckAntennas(s, deck.Cards, antennas, message);
            };
            const model::TModelData *loaded = data(error);
            return loaded && run(*loaded, deck, step, text, error);
        };
    };
    return TEngine{engine(model::RunPointDeck), engine(model::RunAreaDeck)};
}

int RunCommand(const TCommandLine &line, const TEngine &engine, std::ostream &messages) {
    auto fail = [&](const std::string &message) {
        messages << "vantor-voacap: " << message << "\n";
        return 1;
    };
    std::error_code ec;
    const std::string folder = WithSlash(line.Folder);
    if (!fs::is_directory(folder, ec)) return fail("no data folder " + line.Folder);
    const std::string below = folder + (line.Area ? "areadata/" : "run/");
    if (!fs::is_directory(below, ec)) return fail("no folder " + below);
    std::string bytes, error;
    if (!ReadBounded(below + line.Deck, bytes, error)) return fail(error);
    model::TDeck deck;
    const bool read =
        line.Area ? model::ReadAreaDeck(bytes, line.Deck, deck, error) : model::ReadPointDeck(bytes, deck, error);
    if (!read) return fail(line.Deck + ": " + error);
    // voacapl builds the second pole file's name by joining the folder as
    // given with "database": it counts only when given with its trailing "/".
    deck.MagneticPole = ReadMagneticPole(folder, !line.Folder.empty() && line.Folder.back() == '/');
    model::TAntennaLibrary antennas;
    if (!model::LoadDeckAntennas(folder, deck.Cards, antennas, error)) return fail(line.Deck + ": " + error);
    std::string text;
    const TCompute &compute = line.Area ? engine.Area : engine.Point;
    if (!compute || !compute(deck, antennas, text, error)) return fail(line.Deck + ": " + error);
    const std::string output = below + line.Output;
    if (!WriteWhole(output, text, error)) return fail(error);
    if (!line.Silent) messages << "wrote " << output << "\n";
    return 0;
}

} // namespace vx::voacap
