#pragma once
// The volumes a run handed to the sound library, and what a whole fade
// must look like.
#include <string>
#include <vector>

std::vector<int> readVolumes(const std::string& path);

// A complete fade: starts at (or just below) 255, never rises, and ends at
// or below 0 because the last fade frame reads 160000 ms or more.
void expectFadeVolumes(const std::vector<int>& volumes);
