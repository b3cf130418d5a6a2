// vantor-voacap: runs a deck with the built-in engine (VoacapCommand.h).
#include "engine/ModelFiles.h"
#include "model/ModelData.h"
#include "voacap/VoacapCommand.h"

#include <iostream>
#include <string>
#include <vector>

int main(int argc, char **argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    vx::voacap::TCommandLine line;
    std::string error;
    if (!vx::voacap::ParseCommandLine(args, line, error)) {
        std::cerr << "vantor-voacap: " << error << "\n";
        return 1;
    }
    const std::string data = vx::FindModelData();
    if (data.empty()) {
        std::cerr << "vantor-voacap: cannot find the model data " << vx::model::kModelDataFileName
                  << " beside the program\n";
        return 1;
    }
    return vx::voacap::RunCommand(line, vx::voacap::ModelEngine(data), std::cerr);
}
