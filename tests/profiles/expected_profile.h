#pragma once
// Expected profile files spelled out from the format's tables, independently
// of the code under test, for whole-file comparisons.

#include <string>
#include <utility>
#include <vector>

namespace zrm::test {

using Keys = std::vector<std::pair<std::string, std::string>>;

// One section as a private-profile writer puts it on disk (UTF-8 here).
std::string SectionText(const std::string& name, const Keys& keys);

// Sets the value of `key` in `keys` (which must hold it).
void Override(Keys& keys, const std::string& key, const std::string& value);

// The 42 keys of a new profile's channel section.
Keys NewChannelKeys(int channel);

// The keys of a new profile's "Grad" section, in file order.
Keys NewGradKeys();

// "Dat_bound0".."Dat_bound24" of a new profile.
std::string NewSensorRangeSections();

// The whole new profile, in UTF-8.
std::string NewProfileText();

// UTF-8 to cp1251 with the C library's converter.
std::string ToCp1251(const std::string& utf8);

}  // namespace zrm::test
