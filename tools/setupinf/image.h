#pragma once

#include <string>
#include <vector>

// The volume id of a medium's disc image, made of its DefaultDir: ASCII
// letters in upper case, digits and '_' as they are, every other character
// (a blank, a backslash, a letter outside ASCII) one '_', cut at 32
// characters; "SETUP" when nothing is left.
std::string VolumeIdOf(const std::string& defaultDir);

// setupinf image [MEDIUM] --out FILE: checks the medium as check does and,
// when it has no error, writes FILE, an ISO 9660 image of the medium's folder
// as it stands (Joliet and Rock Ridge names), through xorriso. The image is
// written beside FILE and takes its place only when complete. Exit code 0, 1
// (with the reasons; nothing written) or 2 for a bad command line.
int RunImage(const std::vector<std::string>& args);
