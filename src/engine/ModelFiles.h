// The files the built-in model reads besides its decks: the shipped model
// data, loaded once per process and shared by every run, and the magnetic
// pole a data folder may give.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <utility>

#include "model/ModelData.h"

namespace vx {

// Where the model data file lies: in the shipped data folder, else beside
// the program. Empty when it is in neither.
std::string FindModelData();

// The model data of the file at `path`, read at the first call for that
// path and kept; later calls (from any thread) share it. Null with a
// message when the file cannot be used; a failed load is tried again next
// time.
std::shared_ptr<const model::TModelData> SharedModelData(const std::string& path, std::string& error);

// The magnetic pole of a VOACAP data folder (with its trailing separator):
// run/north_pole.txt, then database/north_pole.txt when `databaseToo`;
// nothing when neither gives one (the model's own pole applies).
std::optional<std::pair<float, float>> ReadMagneticPole(const std::string& folder, bool databaseToo);

}  // namespace vx
