// Predictions by the built-in model, in memory. The engine's own deck for
// the inputs is read as the model reads decks (so the built-in engine
// computes exactly what vantor-voacap computes for the same deck), run on
// the shared model data, and its figures stored as the output readers
// store those of a report. No file is written; the antenna models and the
// magnetic-pole files are read from the data folder.
#pragma once

#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "engine/VoaTypes.h"
#include "model/ModelData.h"
#include "model/ResultTables.h"
#include "refdata/AlStrLst.h"

namespace vx {

struct TModelJob {
  TVoaInputs Inputs;
  TAlStringList AntennaFiles;  // the engine's antenna list
  std::string DataFolder;      // with its trailing separator: antennas/ below it
  std::shared_ptr<const model::TModelData> Data;
  int Threads = 1;  // a map's rows or a chart's hours are shared among this many threads
};

// A chart's figures. vsCancelled when `stop` was raised; vsDeckError or
// vsExecError with a message in `detail` when the deck or its antennas
// cannot be run.
TVoaStatus RunModelPoint(const TModelJob& job, const std::atomic<bool>* stop, TPointResults& out, std::string& detail);

// A map's figures (grid n x n of the job's grid size), as RunModelPoint.
TVoaStatus RunModelArea(const TModelJob& job, const std::atomic<bool>* stop, TVoaGrid& out, std::string& detail);

// The hour blocks of a point run stored as the report reader stores the
// printed report: hours and frequencies rounded to whole, hour 0 repeating
// hour 24. A cell whose SNR or angle the report could not print stays
// empty; vsOutputError for an hour, MUF or frequency it could not print.
TVoaStatus StorePointRows(const std::vector<model::TPointHourRow>& rows, TPointResults& out);

}  // namespace vx
