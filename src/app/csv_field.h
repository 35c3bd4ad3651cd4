#pragma once
// One field of a CSV line as the files the programs write carry it (the
// batch results, the history of changes).

#include <string>
#include <string_view>

namespace zrm {

// `field` as a CSV field: quoted when it holds a comma, a quote or a line
// break.
std::string CsvField(std::string_view field);

}  // namespace zrm
