#pragma once
// Looks into the registry without the code under test.
#include <windows.h>

#include <string>
#include <vector>

bool key_exists(HKEY root, const std::string& path);
std::vector<std::string> value_names(HKEY root, const std::string& path);
