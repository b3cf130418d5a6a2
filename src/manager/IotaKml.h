// The IOTA island list: scanning the KML document of the KMZ download and
// turning its placemarks into "IotaRef.lst" and "Islands/Iota.lst".
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vx {

class TAlStringList;

struct TIotaPlacemark {
  std::string Ref;                  // "EU-005"
  std::string Group;                // group name from the description
  std::vector<std::string> Coords;  // the comma-text items of <coordinates>
};

// Placemarks in document order, up to the first one that is incomplete or
// whose coordinates are not exactly three items.
std::vector<TIotaPlacemark> ScanIotaKml(std::string_view kml);

// "&amp;" becomes "&" everywhere.
std::string DecodeAmp(std::string_view text);

// The entity prefixes of an IOTA reference, joined by ", ": the entity codes
// listed for it in iotaDxcc (lines "REF codes" or "REF=codes", sorted), each
// looked up in the sorted entity list (lines "code=-|prefix|name").
std::string EntityPrefixes(std::string_view ref, TAlStringList& iotaDxcc, const TAlStringList& entities);

struct TIotaLists {
  std::vector<std::string> RefLines;     // "IotaRef.lst"
  std::vector<std::string> IslandLines;  // "Islands/Iota.lst"
  size_t Islands = 0;                    // placemarks read (lines below the headers)
  size_t Placemarks = 0;                 // "<Placemark>" tags in the document
};

// Both lists from the KML text, sorted and with their headers. Throws
// std::runtime_error when a coordinate is not a number.
TIotaLists BuildIotaLists(std::string_view kml, TAlStringList& iotaDxcc, const TAlStringList& entities);

}  // namespace vx
