#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/platform.h"

// A target drive without room for its part of the plan.
struct SpaceShortage {
  std::string drive;  // "C:"
  uint64_t need = 0;  // bytes
  uint64_t free = 0;  // bytes this user may still write there
};

// What the space check found on one target drive.
struct DriveSpace {
  std::string drive;
  uint64_t need = 0;
  uint64_t free = 0;  // UINT64_MAX when the drive gives no figure
};

// The room a plan needs on each target drive, compared with what is free
// there before the first byte is written. The need is each planned file's
// size rounded up to the drive's allocation unit, one unit for each folder
// to create, and room for the largest file once more, for its temporary copy.
// Old versions of replaced files stay on the drive until the run ends, so
// they free nothing. False with the first drive that is short.
bool CheckSpace(platform::Platform& platform, const std::vector<std::string>& sources,
                const std::vector<std::string>& targets, SpaceShortage* shortage,
                std::vector<DriveSpace>* checked = nullptr);

// Whole megabytes (2^20 bytes) of a byte count: rounded up for a need,
// down for free space.
std::string MegabytesUp(uint64_t bytes);
std::string MegabytesDown(uint64_t bytes);
