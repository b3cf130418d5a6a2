#include "engine/ModelRun.h"

#include <filesystem>
#include <map>
#include <mutex>

#include "common/TextUtil.h"
#include "engine/Decks.h"
#include "engine/ModelFiles.h"
#include "model/Antenna.h"
#include "model/AreaRun.h"
#include "model/Deck.h"
#include "model/PointRun.h"

namespace vx {

namespace {

bool LoadCachedAntennas(const std::string& dataFolder, const std::vector<std::string>& cards,
                        model::TAntennaLibrary& library, std::string& error);

// The deck read, its pole and antennas loaded: everything a run needs
// besides the model data.
struct TReadyDeck {
  model::TDeck Deck;
  model::TAntennaLibrary Antennas;
};

TVoaStatus ReadyDeck(const TModelJob& job, bool area, TReadyDeck& ready, std::string& detail) {
  if (!job.Data) {
    detail = "The built-in engine has no model data.";
    return vsExecError;
  }
  const auto text = area ? BuildAreaDeck(job.Inputs, job.AntennaFiles) : BuildPointDeck(job.Inputs, job.AntennaFiles);
  if (!text) {
    detail = "No deck can be made for these inputs (an antenna or band outside its list).";
    return vsDeckError;
  }
  std::string error;
  const bool read = area ? model::ReadAreaDeck(*text, "Vantor/Vantor.voa", ready.Deck, error)
                         : model::ReadPointDeck(*text, ready.Deck, error);
  if (!read) {
    detail = "The built-in engine cannot run the deck: " + error;
    return vsDeckError;
  }
  // As the outside program is given the folder: both pole files count.
  ready.Deck.MagneticPole = ReadMagneticPole(job.DataFolder, true);
  if (!LoadCachedAntennas(job.DataFolder, ready.Deck.Cards, ready.Antennas, error)) {
    detail = "The built-in engine cannot read an antenna: " + error;
    return vsAntennaError;
  }
  return vsReady;
}

std::unique_ptr<model::TModelState> PreparedState(const TReadyDeck& ready, bool area, std::string& detail) {
  const model::TAntennaStep step = [&](model::TModelState& s, std::string& message) {
    return model::ApplyDeckAntennas(s, ready.Deck.Cards, ready.Antennas, message);
  };
  std::string error;
  auto state = area ? model::PrepareAreaRun(ready.Deck, step, error) : model::PrepareRun(ready.Deck, step, error);
  if (!state) detail = "The built-in engine cannot run the deck: " + error;
  return state;
}

// Parsed antenna models, kept while their file keeps its size and time, for
// every run of the process: a chart would otherwise spend a fifth of its
// time reading and parsing the same two files again.
bool LoadCachedAntennas(const std::string& dataFolder, const std::vector<std::string>& cards,
                        model::TAntennaLibrary& library, std::string& error) {
  struct TEntry {
    std::uintmax_t Size = 0;
    std::filesystem::file_time_type Time;
    model::TAntennaModel Model;
  };
  static std::mutex guard;
  static std::map<std::string, TEntry> cache;
  std::vector<model::TAntennaSlotCard> slots;
  if (!model::DeckAntennaCards(cards, slots, error)) return false;
  for (const model::TAntennaSlotCard& card : slots) {
    const std::string name = model::AntennaFileName(card);
    if (name.empty() || library.count(name) != 0) continue;
    const std::string path = dataFolder + "antennas/" + name;
    std::error_code sizeError, timeError;
    const std::uintmax_t size = std::filesystem::file_size(path, sizeError);
    const auto time = std::filesystem::last_write_time(path, timeError);
    const bool known = !sizeError && !timeError;
    if (known) {
      std::lock_guard<std::mutex> lock(guard);
      const auto hit = cache.find(path);
      if (hit != cache.end() && hit->second.Size == size && hit->second.Time == time) {
        library.emplace(name, hit->second.Model);
        continue;
      }
    }
    if (!model::LoadAntennaModels(dataFolder, {card}, library, error)) return false;
    if (known) {
      std::lock_guard<std::mutex> lock(guard);
      cache[path] = TEntry{size, time, library.at(name)};
    }
  }
  return true;
}

bool Stopped(const std::atomic<bool>* stop) { return stop && stop->load(std::memory_order_relaxed); }

}  // namespace

TVoaStatus StorePointRows(const std::vector<model::TPointHourRow>& rows, TPointResults& out) {
  for (const model::TPointHourRow& row : rows) {
    if (!row.Hour || !row.Muf) return vsOutputError;
    const double hr = RoundHalfEven(*row.Hour);
    const bool hourInRange = hr >= 0 && hr < TPointResults::kHours;
    const int h = hourInRange ? int(hr) : 0;
    if (hourInRange) out.Muf[h] = *row.Muf;
    for (int k = 0; k < model::TPointHourRow::kSlots; ++k) {
      const auto& frequency = row.Frequency[size_t(k)];
      if (!frequency) return vsOutputError;
      const double fr = RoundHalfEven(*frequency);
      if (fr == 0) continue;
      const bool cellExists = hourInRange && fr >= TPointResults::kMinMHz && fr <= TPointResults::kMaxMHz;
      // A slot without a mode has no figures: it stays empty.
      if (!cellExists || k >= row.ValuedSlots) continue;
      // A figure too large for its field (an SNR far below -9999 dB on a
      // long path around a short circuit) prints as asterisks: the report
      // reader refuses the whole chart for it, here the cell stays empty.
      const auto& snr = row.Snr[size_t(k)];
      const auto& angle = row.Angle[size_t(k)];
      if (!snr || !angle) continue;
      const int f = int(fr);
      out.Mode[f][h] = row.Mode[size_t(k)];
      out.Snr[f][h] = *snr;
      out.Elevation[f][h] = *angle;
      if (h == 24) {
        out.Snr[f][0] = out.Snr[f][24];
        out.Mode[f][0] = out.Mode[f][24];
        out.Elevation[f][0] = out.Elevation[f][24];
      }
    }
  }
  out.Muf[0] = out.Muf[24];
  return vsReady;
}

TVoaStatus RunModelPoint(const TModelJob& job, const std::atomic<bool>* stop, TPointResults& out, std::string& detail) {
  TReadyDeck ready;
  if (TVoaStatus status = ReadyDeck(job, false, ready, detail); status != vsReady) return status;
  auto state = PreparedState(ready, false, detail);
  if (!state) return vsExecError;
  std::vector<model::TPointHourRow> rows;
  model::RunPointRows(*job.Data, *state, rows, stop, job.Threads);
  if (Stopped(stop)) return vsCancelled;
  out.ClearResults();
  return StorePointRows(rows, out);
}

TVoaStatus RunModelArea(const TModelJob& job, const std::atomic<bool>* stop, TVoaGrid& out, std::string& detail) {
  TReadyDeck ready;
  if (TVoaStatus status = ReadyDeck(job, true, ready, detail); status != vsReady) return status;
  auto state = PreparedState(ready, true, detail);
  if (!state) return vsExecError;
  model::TAreaTable table(stop);
  model::RunAreaCells(*job.Data, *state, table, job.Threads);
  if (Stopped(stop)) return vsCancelled;
  const int n = table.Columns();
  if (!table.Complete() || n != table.Rows() || (n != 16 && n != 31 && n != 61)) return vsOutputError;
  out = MakeGrid(n);
  for (int ix = 1; ix <= n; ++ix)
    for (int iy = 1; iy <= n; ++iy) {
      const model::TAreaCellFigures& figures = table.Cell(ix, iy);
      TVoaGridCell& cell = out[size_t(ix - 1)][size_t(iy - 1)];
      cell.Snr = figures.Snr;
      cell.Elevation = figures.Elevation;
      cell.Muf = figures.Muf;
      cell.Mode = figures.Mode;
    }
  return vsReady;
}

}  // namespace vx
