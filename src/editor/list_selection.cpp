#include "editor/list_selection.h"

namespace zrm {

namespace {

constexpr int kNone = -1;
constexpr std::int32_t kUnlistedSetpointType = 3;

bool SelectsItem(long long index, std::size_t item_count) {
  return index >= 0 && index < static_cast<long long>(item_count);
}

}  // namespace

int ListIndexOf(std::int32_t value, int offset, std::size_t item_count) {
  long long index = static_cast<long long>(value) - offset;
  return SelectsItem(index, item_count) ? static_cast<int>(index) : kNone;
}

void CollectListIndex(int index, int offset, std::size_t item_count, std::int32_t& field) {
  if (SelectsItem(index, item_count)) field = index + offset;
}

std::int32_t SetpointTypeCode(int index) {
  return index == 1 || index == 2 ? index : 0;
}

int SetpointTypeIndex(std::int32_t code) {
  if (code == kUnlistedSetpointType) return kNone;
  return code == 1 || code == 2 ? code : 0;
}

}  // namespace zrm
