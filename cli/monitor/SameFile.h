#pragma once
// Whether two output names lead to one file: the same file on disk (its device and inode, or
// what Windows keeps for them) however it is named, through a link, "..", "./" or a hard link;
// for a name whose file is not there yet, the same path once both are resolved. "-" is standard
// output, which may itself be a file.
#include <string>

bool SameFile(const std::string& first, const std::string& second);
