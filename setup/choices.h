#pragma once

#include <string>

#include "setup/commandline.h"

class TMemIniFile;
namespace platform {
class Platform;
}

// What a run preselects: the language, the components and the targets,
// from the command line or from the last successful install of the same
// product. Empty fields preselect nothing.
struct Choices {
  std::string language;
  bool hasComponents = false;
  bool macros = false;
  bool sample = false;
  bool dxf = false;
  std::string sirel;
  std::string dxfTarget;
};

struct SetupData;
// The section of a product in the settings file: DefaultDir and the product
// name (text 73) of the first language, so every language finds it.
std::string ProductKey(const SetupData& data);

// The choices of a command line.
Choices ChoicesOf(const CommandLine& options);
struct CopyRequest;
// The choices an install was made with.
Choices ChoicesOfRequest(const std::string& language, const CopyRequest& request);
// Fields of over that are set replace those of base.
Choices Overlay(const Choices& base, const Choices& over);

// Remembered choices: after a successful install they are written to a
// settings file of the user's own (`setup.ini` in the platform's settings
// folder), in a section named by the product (DefaultDir and text 73), and
// the next run of the same product preselects them.
class RememberedChoices {
 public:
  RememberedChoices(platform::Platform& platform, std::string product);
  // The choices kept for the product; empty when there are none. A file that
  // cannot be read as settings is ignored (*damaged set).
  Choices Load(bool* damaged = nullptr) const;
  // Keeps the choices of a successful install; false when they cannot be
  // written (the install stands all the same).
  bool Save(const Choices& choices) const;

  // The settings file's text with the product's section replaced.
  static std::string Replaced(const std::string& text, const std::string& product, const Choices& choices);
  static Choices Read(const TMemIniFile& ini, const std::string& product);

 private:
  std::string Path() const;

  platform::Platform& m_platform;
  std::string m_product;
};
