#pragma once

#include <optional>
#include <string>

#include "install/manifest.h"
#include "setupdata/setupfile.h"

namespace platform {
class Platform;
}

// Start-up's reading of the medium: SETUP.INF as LoadSetup reads it and,
// when the medium has SETUP.SUM, the checksum list, which must list
// SETUP.INF with the digest of its bytes. Returns the text of the message
// that ends start-up (caption "Error", exit code 2), empty when start-up
// goes on. *manifest receives the list when the medium has one.
std::string LoadMedium(platform::Platform& platform, SetupData* data, std::optional<MediumManifest>* manifest);
