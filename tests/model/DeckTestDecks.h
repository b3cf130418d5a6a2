// Decks the program writes (engine/Decks.cpp) and the reference ran, shared
// by the deck and run-setup tests.
#pragma once

#include <string>

namespace vx::model::test {

// A short path, Sydney to London, December, sunspot number 5: CR LF line
// ends and no end on the last line, as our writer makes it.
inline std::string SydneyLondonDeck() {
    std::string deck =
        "LINEMAX      99\r\n"
        "COEFFS    CCIR\r\n"
        "TIME          1   24    1    1\r\n"
        "SYSTEM       1. 145. 3.00  90. 67.0 3.00 0.10\r\n"
        "FPROB      1.00 1.00 1.00 0.00\r\n"
        "LABEL     SYDNEY              LONDON\r\n"
        "CIRCUIT   33.87S   151.21E    51.50N     0.13W  S     0\r\n"
        "MONTH      201912.00\r\n"
        "SUNSPOT      5.\r\n";
    const char *bands[8][2] = {{"2", "5"},   {"5", "9"},   {"9", "12"},  {"12", "16"},
                               {"16", "20"}, {"20", "23"}, {"23", "26"}, {"26", "30"}};
    auto pad = [](std::string text, std::size_t width) { return std::string(width - text.size(), ' ') + text; };
    for (int role = 1; role <= 2; ++role) {
        for (int b = 0; b < 8; ++b) {
            deck += "ANTENNA       " + std::to_string(role) + pad(std::to_string(role == 1 ? b + 1 : b + 9), 5) +
                    pad(bands[b][0], 5) + pad(bands[b][1], 5) + "     0.000[default/isotrope     ]  0.0";
            if (role == 1) deck += "    0.1000";
            deck += "\r\n";
        }
    }
    deck +=
        "FREQUENCY  -1\r\n"
        "METHOD       23    0\r\n"
        "BOTLINES      1   2   10\r\n"
        "EXECUTE\r\n"
        "QUIT";
    return deck;
}

// An area deck: transmitter at 44N 79W, a 16 x 16 grid, March, 12 UT,
// 14 MHz, dipole tables from the antennas folder.
inline std::string DipoleAreaDeck() {
    return "Model    :VOACAP\r\n"
           "Area     :    -180.0     180.0     -90.0      90.0\r\n"
           "Method   :   30\r\n"
           "Coeffs   :CCIR\r\n"
           "Fprob    : 1.00 1.00 1.00 0.00\r\n"
           "System   :  145     3.000   90   67     3.000     0.100\r\n"
           "Transmit : 44.00N    79.00W   HOME                 Short\r\n"
           "Gridsize :   16    1\r\n"
           "Months   :   3.00   0.00   0.00   0.00   0.00   0.00   0.00   0.00   0.00\r\n"
           "Ssns     :     50      0      0      0      0      0      0      0      0\r\n"
           "Hours    :     12      0      0      0      0      0      0      0      0\r\n"
           "Freqs    : 14.000  0.000  0.000  0.000  0.000  0.000  0.000  0.000  0.000\r\n"
           "Rec Ants :[ref/dipole10m.t14    ]  gain=   0.0   0.0\r\n"
           "Tx Ants  :[ref/dipole10m.t14    ]  0.000   0.0     0.1000\r\n";
}

} // namespace vx::model::test
