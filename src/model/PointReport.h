// The printed report of a point-to-point run, as the reference writes it
// for a METHOD 23 deck with BOTLINES: the listing of the deck, a page head
// whenever a page is full, one block per hour and frequency sweep, and the
// closing line. The writer only appends text to a string it owns; the
// caller decides where the text goes.
//
// How a point run drives it (the order HFMUFS follows):
//
//     TPointReport report;
//     report.WriteListing(deckLines);          // LISTIN, before DECRED
//     report.WriteCommentGroup(card);          // DECRED, per COMMENT GROUP card
//     for each frequency sweep:
//         SetOutputLines(s);                   // SETOUT, after SANG
//         for each hour:
//             ... compute the hour (LUFFY, SETLUF) ...
//             report.WriteHour(s);             // OUTLIN
//     report.WriteEndOfRun();                  // HFMUFS, label 600
//
// WriteHour reads the state where OUTTOP and OUTBOD read their common
// blocks, and writes back what they write: the page count and line count
// (outprt.lpages, outprt.lines, outprt.linbot(26)), contrl.jfreq and
// contrl.jdash, the hemisphere letters of alpha, and, when the MUF is above
// 30 MHz, the "no antenna" values of column 12 of son, alpha.mode/moder,
// sncom.snxx. So the same state must be passed hour after hour.
#pragma once

#include "model/RunSink.h"
#include "model/State.h"

#include <span>
#include <string>
#include <string_view>
#include <utility>

namespace vx::model {

// The version the reference prints in its heads ("16.1207W").
inline constexpr std::string_view kReportVersion = "16.1207W";

// SETOUT: resets the hourly MUF tables and chooses the lines OUTTOP and
// OUTBOD print for the method (or the TOPLINES/BOTLINES cards of METHOD 23).
// Also forces a page head before the next hour (outprt.lines = linmax).
void SetOutputLines(TModelState &s);

// OUTBOD: the column at the MUF when the MUF is beyond 30 MHz, the highest
// frequency the antennas are given for, shows "no antenna" values.
void MarkMufBeyondAntennas(TModelState &s);

// OUTBOD: the number of frequency slots that carry values this hour (the
// last with a mode, at most 12; 0 or less when none has one) into
// contrl.jfreq, and the dashed slots after them into contrl.jdash.
int MarkValuedSlots(TModelState &s);

class TPointReport : public IPointSink {
public:
    explicit TPointReport(std::string_view version = kReportVersion);

    // LISTIN: the program title, the column ruler and every card of the deck
    // up to and including QUIT (each cut to 85 columns, trailing blanks
    // dropped; "COMMENT   GROUP" cards left out; a card whose name the
    // reference does not know is printed with its error mark and counted in
    // a summary after QUIT). `cards` are the deck's lines without their LF
    // (a CR before it is dropped, as the reference does). Returns false when
    // a name was unknown (the reference then computes nothing).
    bool WriteListing(std::span<const std::string> cards);

    // DECRED on a "COMMENT   GROUP..." card: the card again after the
    // listing, columns 11-85 with their trailing blanks.
    void WriteCommentGroup(std::string_view card);

    // OUTLIN: a page head (OUTTOP) when the page is full, then the hour's
    // FREQ line and the lines BOTLINES asks for (OUTBOD).
    void WriteHour(TModelState &s) override;

    // The last line of a run: "*****END OF RUN*****".
    void WriteEndOfRun() override;

    const std::string &Text() const { return Out; }
    std::string TakeText() { return std::move(Out); }

private:
    void WritePageHead(TModelState &s);
    void WriteHourBody(TModelState &s);

    std::string Version;
    std::string Out;
};

} // namespace vx::model
