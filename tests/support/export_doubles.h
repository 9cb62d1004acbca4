// Doubles for the Group Policy writers: a clock stopped at one moment, GUIDs
// counted up with every byte of the last group different (so a byte dropped or
// swapped shows), and a value in one call.
#pragma once

#include <string>
#include <utility>

#include "settings/preferences_file.h"
#include "settings/reg_file.h"

namespace tavlin::testing {

class FixedClock : public settings::ClockPort {
 public:
  settings::UtcTime NowUtc() override { return {2024, 3, 5, 7, 8, 9}; }
};

// {0000000A-000B-000C-0D0E-0F0102030405}, then {0000000B-...}; fails on request.
class CountingGuids : public settings::GuidPort {
 public:
  std::uint32_t next = 0xA;
  long failure = 0;
  long NewGuid(settings::Guid& g) override {
    if (failure != 0) return failure;
    g = settings::Guid{next++, 0xB, 0xC, {0xD, 0xE, 0xF, 1, 2, 3, 4, 5}};
    return 0;
  }
};

inline settings::RegFileValue Value(std::wstring name, std::uint32_t type, settings::Bytes data,
                                    bool remove = false) {
  settings::RegFileValue v;
  v.name = std::move(name);
  v.type = type;
  v.data = std::move(data);
  v.remove = remove;
  return v;
}

}  // namespace tavlin::testing
